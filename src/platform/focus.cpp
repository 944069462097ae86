// Input, focus and activation: pen and key events turned into messages for the window under
// the pen or the focused window, the focus, the active window, the capture and the keys held.
#include <algorithm>

#include "platform/window.h"
#include "platform/window_internal.h"
#include "platform/window_state.h"

namespace ce {

using internal::Now;
using internal::Root;
using internal::S;
using internal::State;
using internal::Window;

namespace {

POINT ClientPoint(const Window& w, int32_t x, int32_t y) {
  return {x - w.client.left, y - w.client.top};
}

bool Disabled(const Window* w) {
  for (; w != nullptr; w = w->parent ? internal::Find(w->parent) : nullptr) {
    if (w->style & WS_DISABLED) return true;
  }
  return false;
}

void QueueInputMessage(HWND target, UINT message, WPARAM wparam, LPARAM lparam, POINT pt) {
  S().input_messages.push_back(MSG{target, message, wparam, lparam, Now(), pt});
}

void SendActivation(bool active) {
  State& s = S();
  s.application_active = active;
  const WPARAM state = active ? WA_ACTIVE : WA_INACTIVE;
  HWND targets[2] = {s.active, s.main};
  if (targets[1] == targets[0]) targets[1] = nullptr;
  for (HWND t : targets) {
    if (t != nullptr && IsWindow(t)) SendMessage(t, WM_ACTIVATE, state, 0);
  }
}

}  // namespace

namespace internal {

void TranslateInput(const InputEvent& e) {
  State& s = S();
  const POINT pt{e.x, e.y};
  switch (e.kind) {
    case InputEvent::Kind::kPenDown:
    case InputEvent::Kind::kPenUp:
    case InputEvent::Kind::kPenMove: {
      if (e.kind == InputEvent::Kind::kPenMove && !s.pen_down) return;
      if (e.kind == InputEvent::Kind::kPenDown) s.pen_down = true;
      if (e.kind == InputEvent::Kind::kPenUp) s.pen_down = false;
      HWND target = s.capture != nullptr ? s.capture : WindowFromPoint(pt);
      Window* w = internal::Find(target);
      if (w == nullptr) return;
      if (s.capture == nullptr && Disabled(w)) return;
      if (e.kind == InputEvent::Kind::kPenDown) {
        Window* root = Root(w);
        if (root != nullptr && !(root->ex_style & WS_EX_NOACTIVATE) && root->handle != s.active) {
          SetActiveWindow(root->handle);
        }
        w = internal::Find(target);
        if (w == nullptr) return;
      }
      // Taps on a caption bar are the frame's, not the window's.
      if (s.capture == nullptr && !w->client.Contains(e.x, e.y)) return;
      const POINT c = ClientPoint(*w, e.x, e.y);
      const UINT message = e.kind == InputEvent::Kind::kPenDown ? WM_LBUTTONDOWN
                           : e.kind == InputEvent::Kind::kPenUp ? WM_LBUTTONUP
                                                                : WM_MOUSEMOVE;
      const WPARAM buttons = e.kind == InputEvent::Kind::kPenUp ? 0 : MK_LBUTTON;
      QueueInputMessage(target, message, buttons, MAKELPARAM(c.x, c.y), pt);
      return;
    }
    case InputEvent::Kind::kKeyDown:
    case InputEvent::Kind::kKeyUp:
    case InputEvent::Kind::kChar: {
      if (e.kind == InputEvent::Kind::kKeyDown) {
        if (std::find(s.keys_down.begin(), s.keys_down.end(), e.key) == s.keys_down.end()) {
          s.keys_down.push_back(e.key);
        }
      } else if (e.kind == InputEvent::Kind::kKeyUp) {
        std::erase(s.keys_down, e.key);
      }
      HWND target = s.focus != nullptr ? s.focus : s.active;
      if (target == nullptr) return;
      if (e.kind == InputEvent::Kind::kChar) {
        QueueInputMessage(target, WM_CHAR, e.ch, 1, pt);
      } else {
        QueueInputMessage(target, e.kind == InputEvent::Kind::kKeyDown ? WM_KEYDOWN : WM_KEYUP,
                          e.key, 1, pt);
      }
      return;
    }
    case InputEvent::Kind::kFocusIn:
      if (!s.application_active) SendActivation(true);
      return;
    case InputEvent::Kind::kFocusOut:
      if (s.application_active) SendActivation(false);
      return;
    case InputEvent::Kind::kClose:
      if (s.main != nullptr) PostMessage(s.main, WM_CLOSE, 0, 0);
      return;
  }
}

}  // namespace internal

HWND SetFocus(HWND handle) {
  State& s = S();
  const HWND old = s.focus;
  if (handle != nullptr) {
    Window* w = internal::Find(handle);
    if (w == nullptr || Disabled(w)) return nullptr;
  }
  if (handle == old) return old;
  if (handle != nullptr) {
    Window* root = Root(internal::Find(handle));
    if (root != nullptr && root->handle != s.active && !(root->ex_style & WS_EX_NOACTIVATE)) {
      SetActiveWindow(root->handle);
      if (s.focus == handle) return old;
    }
  }
  // Activation may have moved the focus on the way (to the window activated); whoever holds
  // it now is the one that loses it.
  const HWND losing = s.focus;
  s.focus = handle;
  if (losing != nullptr && IsWindow(losing)) {
    SendMessage(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  }
  if (s.focus == handle && handle != nullptr) {
    SendMessage(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
  }
  return old;
}

void BringApplicationToFront() {
  State& s = S();
  if (s.display != nullptr) s.display->Raise();
  if (s.main != nullptr) SetForegroundWindow(s.main);
}

HWND GetFocus() {
  return S().focus;
}

HWND SetActiveWindow(HWND handle) {
  State& s = S();
  const HWND old = s.active;
  if (handle == old) return old;
  if (handle != nullptr && !IsWindow(handle)) return nullptr;
  s.active = handle;
  if (old != nullptr && IsWindow(old)) {
    SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
  }
  if (s.active == handle && handle != nullptr) {
    SendMessage(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  }
  return old;
}

HWND GetActiveWindow() {
  return S().active;
}

BOOL SetForegroundWindow(HWND handle) {
  // The handle may carry the platform's "with its owned windows" bit.
  handle = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(handle) & ~uintptr_t{1});
  if (!IsWindow(handle)) return FALSE;
  if (S().display != nullptr) S().display->Raise();
  SetActiveWindow(handle);
  return TRUE;
}

HWND GetForegroundWindow() {
  return S().active;
}

HWND SetCapture(HWND handle) {
  const HWND old = S().capture;
  S().capture = IsWindow(handle) ? handle : nullptr;
  return old;
}

BOOL ReleaseCapture() {
  const HWND old = S().capture;
  S().capture = nullptr;
  if (old != nullptr && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  return S().capture;
}

bool IsApplicationActive() {
  return S().application_active;
}

bool IsKeyDown(UINT virtual_key) {
  const auto& keys = S().keys_down;
  return std::find(keys.begin(), keys.end(), virtual_key) != keys.end();
}

}  // namespace ce

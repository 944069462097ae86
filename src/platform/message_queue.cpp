// The message queue: posted, input and quit messages, paint and timer messages made when the
// queue is empty, waiting for input, and the timers.
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/window.h"
#include "platform/window_internal.h"
#include "platform/window_state.h"

namespace ce {

using internal::Now;
using internal::S;
using internal::State;
using internal::Timer;
using internal::TranslateInput;
using internal::Window;

namespace {

bool Matches(const MSG& m, HWND window, UINT first, UINT last) {
  if (window != nullptr && m.hwnd != window && !IsChild(window, m.hwnd)) return false;
  if (first == 0 && last == 0) return true;
  return m.message >= first && m.message <= last;
}

void PollDisplay(int32_t timeout_ms) {
  State& s = S();
  if (s.display == nullptr) return;
  std::vector<pollfd> wake;
  if (s.external.watch && timeout_ms != 0) {
    const int32_t due = s.external.watch(wake);
    if (due >= 0 && (timeout_ms < 0 || due < timeout_ms)) timeout_ms = due;
  }
  std::vector<InputEvent> events;
  s.display->WaitInput(timeout_ms, wake, events);
  for (const InputEvent& e : events) s.input.push_back(e);
}

void ServeExternal() {
  State& s = S();
  if (!s.external.serve || s.serving) return;
  s.serving = true;
  s.external.serve();
  s.serving = false;
}

// The first window, in painting order, that needs WM_PAINT; draws pending caption bars on the
// way.
HWND FindInvalid(Window& w, HWND filter) {
  if (!(w.style & WS_VISIBLE)) return nullptr;
  if (w.frame_dirty) {
    w.frame_dirty = false;
    if (internal::HasCaption(w)) internal::DrawFrame(w);
  }
  if (!w.invalid.Empty() &&
      (filter == nullptr || filter == w.handle || IsChild(filter, w.handle))) {
    return w.handle;
  }
  for (HWND c : std::vector<HWND>(w.children)) {
    if (Window* child = internal::Find(c)) {
      if (HWND h = FindInvalid(*child, filter)) return h;
    }
  }
  return nullptr;
}

HWND NextPaint(HWND filter) {
  for (HWND h : std::vector<HWND>(S().top_level)) {
    if (Window* w = internal::Find(h)) {
      if (HWND found = FindInvalid(*w, filter)) return found;
    }
  }
  return nullptr;
}

// CALVIRA_TRACE_TIMER=1 writes the real time of every timer message to standard error, so that
// the spacing of an animation's steps can be measured on the running program.
void TraceTimer() {
  static const bool on = [] {
    const char* value = std::getenv("CALVIRA_TRACE_TIMER");
    return value != nullptr && value[0] == '1';
  }();
  if (!on) return;
  static const auto start = std::chrono::steady_clock::now();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "timer %.3f\n", ms);
}

bool TakeTimer(MSG* msg, HWND filter, bool remove) {
  State& s = S();
  const DWORD now = Now();
  for (Timer& t : s.timers) {
    if (filter != nullptr && t.window != filter) continue;
    if (static_cast<int32_t>(now - t.due) < 0) continue;
    *msg = MSG{t.window, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), now, {}};
    if (remove) {
      t.due = now + t.period;
      TraceTimer();
    }
    return true;
  }
  return false;
}

}  // namespace

LRESULT SendMessage(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* w = internal::Find(handle);
  if (w == nullptr || w->proc == nullptr) return 0;
  return w->proc(handle, message, wparam, lparam);
}

BOOL PostMessage(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  if (handle != nullptr && !IsWindow(handle)) return FALSE;
  S().posted.push_back(MSG{handle, message, wparam, lparam, Now(), {}});
  return TRUE;
}

void PostQuitMessage(int exit_code) {
  S().quit_posted = true;
  S().quit_code = exit_code;
}

BOOL PeekMessage(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  State& s = S();
  const bool take = (remove & PM_REMOVE) != 0;
  for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
    if (!Matches(*it, window, first, last)) continue;
    *msg = *it;
    if (take) s.posted.erase(it);
    return TRUE;
  }
  if (s.quit_posted && window == nullptr && (first == 0 || first <= WM_QUIT) &&
      (last == 0 || last >= WM_QUIT)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quit_code), 0, Now(), {}};
    if (take) s.quit_posted = false;
    return TRUE;
  }
  if (s.input.empty() && s.input_messages.empty()) PollDisplay(0);
  while (s.input_messages.empty() && !s.input.empty()) {
    const InputEvent e = s.input.front();
    s.input.pop_front();
    TranslateInput(e);
  }
  for (auto it = s.input_messages.begin(); it != s.input_messages.end(); ++it) {
    if (!Matches(*it, window, first, last)) continue;
    *msg = *it;
    if (take) s.input_messages.erase(it);
    return TRUE;
  }
  if (first == 0 || (first <= WM_PAINT && last >= WM_PAINT)) {
    if (HWND h = NextPaint(window)) {
      *msg = MSG{h, WM_PAINT, 0, 0, Now(), {}};
      return TRUE;
    }
  }
  if (first == 0 || (first <= WM_TIMER && last >= WM_TIMER)) {
    if (TakeTimer(msg, window, take)) return TRUE;
  }
  FlushDisplay();
  ServeExternal();
  return FALSE;
}

void WaitForInput(int32_t timeout_ms) {
  State& s = S();
  FlushDisplay();
  if (!s.posted.empty() || s.quit_posted || !s.input.empty() || !s.input_messages.empty() ||
      NextPaint(nullptr) != nullptr) {
    return;
  }
  // A due timer ends the wait as input does.
  const DWORD now = Now();
  for (const Timer& t : s.timers) {
    const int32_t until = static_cast<int32_t>(t.due - now);
    if (until <= 0) return;
    if (timeout_ms < 0 || until < timeout_ms) timeout_ms = until;
  }
  PollDisplay(timeout_ms);
  ServeExternal();
}

void SleepServing(DWORD ms) {
  State& s = S();
  if (clock::IsVirtual() || s.display == nullptr) {
    Sleep(ms);
    return;
  }
  FlushDisplay();
  const DWORD start = Now();
  for (;;) {
    const auto left = static_cast<int32_t>(ms - (Now() - start));
    if (left <= 0) return;
    PollDisplay(left);
    ServeExternal();
    for (const InputEvent& e : s.input) {
      if (e.kind == InputEvent::Kind::kClose) return;
    }
  }
}

BOOL GetMessage(MSG* msg, HWND window, UINT first, UINT last) {
  if (window != nullptr && !IsWindow(window)) return -1;
  while (!PeekMessage(msg, window, first, last, PM_REMOVE)) WaitForInput(-1);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
  // Text arrives as typed characters; only the keys that type a control character make one.
  char16_t ch = 0;
  switch (msg->wParam) {
    case VK_RETURN:
      ch = u'\r';
      break;
    case VK_TAB:
      ch = u'\t';
      break;
    case VK_ESCAPE:
      ch = 0x1B;
      break;
    case VK_BACK:
      ch = 0x08;
      break;
    default:
      return FALSE;
  }
  S().input_messages.push_front(MSG{msg->hwnd, WM_CHAR, ch, msg->lParam, msg->time, msg->pt});
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  const LRESULT result = SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A window that ignored its WM_PAINT would be asked again forever.
  if (msg->message == WM_PAINT) {
    if (Window* w = internal::Find(msg->hwnd)) w->invalid = {};
  }
  return result;
}

LRESULT CallWindowProc(WNDPROC proc, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return proc != nullptr ? proc(window, message, wparam, lparam) : 0;
}

UINT_PTR SetTimer(HWND handle, UINT_PTR id, UINT elapse_ms, TIMERPROC proc) {
  State& s = S();
  if (handle != nullptr && !IsWindow(handle)) return 0;
  if (handle == nullptr) id = s.next_timer_id++;
  elapse_ms = std::max<UINT>(elapse_ms, 1);
  std::erase_if(s.timers, [&](const Timer& t) { return t.window == handle && t.id == id; });
  s.timers.push_back(Timer{handle, id, elapse_ms, Now() + elapse_ms, proc});
  return handle == nullptr ? id : (id != 0 ? id : 1);
}

BOOL KillTimer(HWND handle, UINT_PTR id) {
  const size_t removed =
      std::erase_if(S().timers, [&](const Timer& t) { return t.window == handle && t.id == id; });
  return removed != 0 ? TRUE : FALSE;
}

}  // namespace ce

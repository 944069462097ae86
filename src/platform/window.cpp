// Windows, their tree and z-order, their texts and longs, painting requests and the shell calls.
// The message queue with its timers is in message_queue.cpp; input, focus and activation in
// focus.cpp.
#include "platform/window.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/controls_internal.h"
#include "platform/text.h"
#include "platform/window_internal.h"
#include "platform/window_state.h"

namespace ce {

using internal::Root;
using internal::S;
using internal::State;
using internal::Timer;
using internal::Window;
using internal::WindowClass;

namespace {

// Class names are looked up regardless of case, as templates spell them either way ("BUTTON",
// "Button"); a window reports its class as it was registered.
std::u16string ClassKey(std::u16string_view name) {
  std::u16string key(name);
  for (char16_t& c : key) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return key;
}

HWND ToHandle(uintptr_t n) {
  return reinterpret_cast<HWND>(n);
}

void ComputeClient(Window& w) {
  w.client = w.rect;
  if (internal::HasCaption(w)) {
    w.client.left += 1;
    w.client.right -= 1;
    w.client.bottom -= 1;
    w.client.top += kCaptionHeight;
    if (w.client.bottom < w.client.top) w.client.bottom = w.client.top;
    if (w.client.right < w.client.left) w.client.right = w.client.left;
  }
}

// Moves a window and all its descendants by (dx, dy).
void Shift(Window& w, int32_t dx, int32_t dy) {
  w.rect = Offset(w.rect, dx, dy);
  w.client = Offset(w.client, dx, dy);
  for (HWND c : w.children) {
    if (Window* child = internal::Find(c)) Shift(*child, dx, dy);
  }
}

void InvalidateTree(Window& w) {
  w.invalid = {0, 0, w.client.Width(), w.client.Height()};
  w.erase = true;
  w.frame_dirty = true;
  for (HWND c : w.children) {
    if (Window* child = internal::Find(c)) InvalidateTree(*child);
  }
}

HWND ChildFromPoint(Window& w, POINT p) {
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
    Window* c = internal::Find(*it);
    if (c == nullptr || !(c->style & WS_VISIBLE) || !c->rect.Contains(p.x, p.y)) continue;
    if (SendMessage(c->handle, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == HTTRANSPARENT) continue;
    return ChildFromPoint(*c, p);
  }
  return w.handle;
}

void ExposeAndForget(Window& w) {
  const RECT area = w.rect;
  const bool shown = internal::Visible(w);
  if (w.parent != nullptr) {
    if (Window* p = internal::Find(w.parent)) std::erase(p->children, w.handle);
  } else {
    std::erase(S().top_level, w.handle);
  }
  if (shown) internal::InvalidateScreenArea(area);
}

}  // namespace

namespace internal {

State& S() {
  static State state;
  return state;
}

DWORD Now() {
  return GetTickCount();
}

Window* Root(Window* w) {
  while (w != nullptr && w->parent != nullptr) w = internal::Find(w->parent);
  return w;
}

Window* Find(HWND handle) {
  auto& windows = S().windows;
  auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
  return it == windows.end() ? nullptr : it->second.get();
}

bool IsTopLevel(const Window& w) {
  return w.parent == nullptr;
}

bool HasCaption(const Window& w) {
  return (w.style & WS_CAPTION) == WS_CAPTION;
}

const std::vector<HWND>& TopLevelWindows() {
  return S().top_level;
}

bool Visible(const Window& w) {
  for (const Window* p = &w; p != nullptr; p = p->parent ? Find(p->parent) : nullptr) {
    if (!(p->style & WS_VISIBLE)) return false;
  }
  return true;
}

void InvalidateScreenArea(const RECT& area) {
  // What no window covers shows white, like the handheld's empty desktop.
  FrameBuffer& frame = Frame();
  const RECT clipped = Intersect(area, {0, 0, kScreenWidth, kFrameHeight});
  for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
    std::fill_n(&frame.pixels[static_cast<size_t>(y) * kScreenWidth + clipped.left],
                clipped.Width(), uint16_t{0xFFFF});
  }
  frame.dirty = Union(frame.dirty, clipped);
  std::function<void(Window&)> visit = [&](Window& w) {
    if (!(w.style & WS_VISIBLE)) return;
    const RECT part = Intersect(area, w.rect);
    if (part.Empty()) return;
    const RECT inside = Intersect(part, w.client);
    if (!inside.Empty()) {
      w.invalid = Union(w.invalid, Offset(inside, -w.client.left, -w.client.top));
      w.erase = true;
    }
    if (inside != part) w.frame_dirty = true;
    for (HWND c : w.children) {
      if (Window* child = Find(c)) visit(*child);
    }
  };
  for (HWND h : S().top_level) {
    if (Window* w = Find(h)) visit(*w);
  }
}

}  // namespace internal

void InitWindowSystem(std::unique_ptr<Display> display) {
  State& s = S();
  if (s.running) ShutdownWindowSystem();
  s.display = std::move(display);
  s.running = true;
  s.application_active = true;
  s.input_panel_button = true;
  internal::Frame().pixels.assign(static_cast<size_t>(kScreenWidth) * kFrameHeight, 0xFFFF);
  internal::Frame().dirty = {0, 0, kScreenWidth, kFrameHeight};
  SetBeforeSleepHook(&FlushDisplay);
  internal::RegisterStandardControls();
  internal::RegisterMenuBarClasses();
}

void ShutdownWindowSystem() {
  State& s = S();
  for (HWND h : std::vector<HWND>(s.top_level)) DestroyWindow(h);
  SetBeforeSleepHook(nullptr);
  s.windows.clear();
  s.top_level.clear();
  s.posted.clear();
  s.input.clear();
  s.input_messages.clear();
  s.timers.clear();
  s.quit_posted = false;
  s.focus = s.active = s.capture = s.main = nullptr;
  s.keys_down.clear();
  s.pen_down = false;
  s.external = {};
  s.display.reset();
  s.running = false;
}

bool WindowSystemRunning() {
  return S().running;
}
Display* GetDisplay() {
  return S().display.get();
}
void InjectInput(const InputEvent& event) {
  S().input.push_back(event);
}

void FlushDisplay() {
  State& s = S();
  internal::FrameBuffer& frame = internal::Frame();
  if (s.display == nullptr || frame.dirty.Empty() || frame.pixels.empty()) return;
  s.display->Present(frame.pixels.data(), kScreenWidth, kFrameHeight, kScreenWidth * 2,
                     frame.dirty);
  frame.dirty = {};
}

const uint16_t* FrameBufferPixels() {
  return internal::Frame().pixels.data();
}

void SetExternalSource(ExternalSource source) {
  S().external = std::move(source);
}

HINSTANCE GetModuleHandle(const char16_t*) {
  return reinterpret_cast<HINSTANCE>(0x10000);
}

ATOM RegisterClass(const WNDCLASS* wc) {
  if (wc == nullptr || wc->lpfnWndProc == nullptr || wc->lpszClassName == nullptr) return 0;
  auto& classes = S().classes;
  const std::u16string name = wc->lpszClassName;
  const std::u16string key = ClassKey(name);
  if (classes.count(key) != 0) return 0;
  classes[key] = WindowClass{name, wc->style, wc->lpfnWndProc, wc->hbrBackground, wc->hInstance};
  return static_cast<ATOM>(classes.size());
}

HWND CreateWindowEx(DWORD ex_style, const char16_t* class_name, const char16_t* title, DWORD style,
                    int32_t x, int32_t y, int32_t width, int32_t height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param) {
  State& s = S();
  if (class_name == nullptr) return nullptr;
  auto found = s.classes.find(ClassKey(class_name));
  if (found == s.classes.end()) return nullptr;
  Window* parent_window = internal::Find(parent);
  const bool child = (style & WS_CHILD) != 0;
  if (child && parent_window == nullptr) return nullptr;

  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.handle = ToHandle(s.next_handle++);
  w.window_class = &found->second;
  w.proc = found->second.proc;
  w.text = title != nullptr ? title : u"";
  w.style = style;
  w.ex_style = ex_style;
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = kScreenWidth;
    height = kFrameHeight;
  }
  if (child) {
    w.parent = parent;
    w.id = static_cast<int>(reinterpret_cast<uintptr_t>(menu));
    x += parent_window->client.left;
    y += parent_window->client.top;
  } else if (Window* root = Root(parent_window); root != nullptr) {
    w.owner = root->handle;
  }
  w.rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
  ComputeClient(w);
  const HWND handle = w.handle;
  s.windows.emplace(reinterpret_cast<uintptr_t>(handle), std::move(owned));
  if (child) {
    parent_window->children.push_back(handle);
  } else {
    s.top_level.push_back(handle);
    if (s.main == nullptr && !(style & WS_POPUP)) s.main = handle;
  }

  CREATESTRUCT cs{param, instance,   menu,    parent, height, width, y, x, static_cast<LONG>(style),
                  title, class_name, ex_style};
  if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  Window* created = internal::Find(handle);
  if (created == nullptr) return nullptr;
  created->created = true;
  if (created->style & WS_VISIBLE) {
    created->style &= ~WS_VISIBLE;
    ShowWindow(handle, SW_SHOW);
  }
  return handle;
}

BOOL DestroyWindow(HWND handle) {
  State& s = S();
  Window* w = internal::Find(handle);
  if (w == nullptr || w->destroying) return FALSE;
  w->destroying = true;
  // Pop-ups it owns go first, as on the handheld.
  for (HWND h : std::vector<HWND>(s.top_level)) {
    Window* other = internal::Find(h);
    if (other != nullptr && other->owner == handle) DestroyWindow(h);
  }
  w = internal::Find(handle);
  ExposeAndForget(*w);
  SendMessage(handle, WM_DESTROY, 0, 0);
  w = internal::Find(handle);
  if (w != nullptr) {
    for (HWND c : std::vector<HWND>(w->children)) DestroyWindow(c);
  }
  std::erase_if(s.timers, [handle](const Timer& t) { return t.window == handle; });
  std::erase_if(s.posted, [handle](const MSG& m) { return m.hwnd == handle; });
  std::erase_if(s.input_messages, [handle](const MSG& m) { return m.hwnd == handle; });
  if (s.capture == handle) s.capture = nullptr;
  if (s.focus == handle) s.focus = nullptr;
  if (s.main == handle) s.main = nullptr;
  w = internal::Find(handle);
  const HWND owner = w != nullptr ? w->owner : nullptr;
  s.windows.erase(reinterpret_cast<uintptr_t>(handle));
  if (s.active == handle) {
    s.active = nullptr;
    // Activation returns to the owner, or else to the topmost remaining window.
    HWND next = IsWindow(owner) ? owner : nullptr;
    for (auto it = s.top_level.rbegin(); next == nullptr && it != s.top_level.rend(); ++it) {
      Window* t = internal::Find(*it);
      if (t != nullptr && (t->style & WS_VISIBLE) && !(t->ex_style & WS_EX_NOACTIVATE)) {
        next = *it;
      }
    }
    if (next != nullptr) SetActiveWindow(next);
  }
  return TRUE;
}

BOOL IsWindow(HWND handle) {
  return internal::Find(handle) != nullptr;
}

HWND GetParent(HWND handle) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return nullptr;
  return w->parent != nullptr ? w->parent : w->owner;
}

HWND GetWindow(HWND handle, UINT relation) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return nullptr;
  if (relation == GW_OWNER) return w->owner;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  // Siblings in the platform's order: GW_HWNDNEXT goes towards the bottom of the z-order,
  // which for children is template order.
  const std::vector<HWND>* list = &S().top_level;
  if (w->parent != nullptr) list = &internal::Find(w->parent)->children;
  auto it = std::find(list->begin(), list->end(), handle);
  if (it == list->end()) return nullptr;
  if (relation == GW_HWNDNEXT) return it + 1 == list->end() ? nullptr : *(it + 1);
  if (relation == GW_HWNDPREV) return it == list->begin() ? nullptr : *(it - 1);
  return nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = internal::Find(dialog);
  if (w == nullptr) return nullptr;
  for (HWND c : w->children) {
    Window* child = internal::Find(c);
    if (child != nullptr && child->id == id) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND handle) {
  Window* w = internal::Find(handle);
  return w != nullptr ? w->id : 0;
}

HWND FindWindow(const char16_t* class_name, const char16_t* title) {
  for (HWND h : S().top_level) {
    Window* w = internal::Find(h);
    if (w == nullptr) continue;
    if (class_name != nullptr && w->window_class->name != class_name) continue;
    if (title != nullptr && w->text != title) continue;
    return h;
  }
  return nullptr;
}

std::u16string GetClassName(HWND handle) {
  Window* w = internal::Find(handle);
  return w != nullptr ? w->window_class->name : std::u16string();
}

BOOL IsChild(HWND parent, HWND handle) {
  for (Window* w = internal::Find(handle); w != nullptr && w->parent != nullptr;
       w = internal::Find(w->parent)) {
    if (w->parent == parent) return TRUE;
  }
  return FALSE;
}

BOOL ShowWindow(HWND handle, int command) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  const bool was_visible = (w->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    if (!was_visible) return FALSE;
    const bool shown = internal::Visible(*w);
    w->style &= ~WS_VISIBLE;
    if (shown) internal::InvalidateScreenArea(w->rect);
    if (S().focus == handle || IsChild(handle, S().focus)) S().focus = nullptr;
    return TRUE;
  }
  if (!was_visible) {
    w->style |= WS_VISIBLE;
    InvalidateTree(*w);
    // A top-level window that appears takes the activation, as on the handheld.
    if (w->parent == nullptr && !(w->ex_style & WS_EX_NOACTIVATE)) SetActiveWindow(handle);
  }
  return was_visible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND handle) {
  Window* w = internal::Find(handle);
  return w != nullptr && internal::Visible(*w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  const BOOL was_disabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && was_disabled) {
    w->style &= ~WS_DISABLED;
    SendMessage(handle, WM_ENABLE, TRUE, 0);
    InvalidateRect(handle, nullptr, TRUE);
  } else if (!enable && !was_disabled) {
    w->style |= WS_DISABLED;
    if (S().focus == handle || IsChild(handle, S().focus)) SetFocus(nullptr);
    if (S().capture == handle) ReleaseCapture();
    SendMessage(handle, WM_ENABLE, FALSE, 0);
    InvalidateRect(handle, nullptr, TRUE);
  }
  return was_disabled;
}

BOOL IsWindowEnabled(HWND handle) {
  Window* w = internal::Find(handle);
  return w != nullptr && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND handle, int32_t x, int32_t y, int32_t width, int32_t height, BOOL repaint) {
  return SetWindowPos(handle, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND handle, HWND insert_after, int32_t x, int32_t y, int32_t cx, int32_t cy,
                  UINT flags) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  const RECT before = w->rect;
  const bool shown = internal::Visible(*w);
  int32_t origin_x = 0, origin_y = 0;
  if (w->parent != nullptr) {
    Window* p = internal::Find(w->parent);
    origin_x = p->client.left;
    origin_y = p->client.top;
  }
  RECT after = before;
  if (!(flags & SWP_NOMOVE))
    after = Offset(after, x + origin_x - before.left, y + origin_y - before.top);
  if (!(flags & SWP_NOSIZE)) {
    after.right = after.left + std::max(0, cx);
    after.bottom = after.top + std::max(0, cy);
  }
  // Children keep their place in the client area, which may move by more than the window
  // does when the caption bar comes or goes.
  const RECT old_client = w->client;
  w->rect = after;
  ComputeClient(*w);
  const int32_t dx = w->client.left - old_client.left, dy = w->client.top - old_client.top;
  for (HWND c : w->children) {
    if (Window* child = internal::Find(c)) Shift(*child, dx, dy);
  }
  if (!(flags & SWP_NOZORDER) && insert_after == HWND_TOP) {
    std::vector<HWND>& list =
        w->parent != nullptr ? internal::Find(w->parent)->children : S().top_level;
    std::erase(list, handle);
    list.push_back(handle);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(handle, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(handle, SW_HIDE);
  if (shown && before != after) {
    internal::InvalidateScreenArea(before);
    InvalidateTree(*w);
    if (!(flags & SWP_NOSIZE) &&
        (before.Width() != after.Width() || before.Height() != after.Height())) {
      SendMessage(handle, WM_SIZE, 0, MAKELPARAM(w->client.Width(), w->client.Height()));
    }
  } else if (shown && !(flags & SWP_NOZORDER)) {
    InvalidateTree(*w);
  }
  return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
  Window* w = internal::Find(handle);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = w->rect;
  return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
  Window* w = internal::Find(handle);
  if (w == nullptr || rect == nullptr) return FALSE;
  *rect = {0, 0, w->client.Width(), w->client.Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
  Window* w = internal::Find(handle);
  if (w == nullptr || point == nullptr) return FALSE;
  point->x += w->client.left;
  point->y += w->client.top;
  return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT* point) {
  Window* w = internal::Find(handle);
  if (w == nullptr || point == nullptr) return FALSE;
  point->x -= w->client.left;
  point->y -= w->client.top;
  return TRUE;
}

HWND WindowFromPoint(POINT p) {
  const std::vector<HWND> tops = S().top_level;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    Window* w = internal::Find(*it);
    if (w == nullptr || !(w->style & WS_VISIBLE) || !w->rect.Contains(p.x, p.y)) continue;
    return ChildFromPoint(*w, p);
  }
  return nullptr;
}

BOOL SetWindowText(HWND handle, const char16_t* text) {
  if (!IsWindow(handle)) return FALSE;
  return SendMessage(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : u""))
             ? TRUE
             : FALSE;
}

int GetWindowText(HWND handle, char16_t* buffer, int size) {
  if (buffer == nullptr || size <= 0 || !IsWindow(handle)) return 0;
  return static_cast<int>(
      SendMessage(handle, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND handle) {
  if (!IsWindow(handle)) return 0;
  return static_cast<int>(SendMessage(handle, WM_GETTEXTLENGTH, 0, 0));
}

std::u16string GetWindowString(HWND handle) {
  const int length = GetWindowTextLength(handle);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowText(handle, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return text;
}

LONG_PTR GetWindowLong(HWND handle, int index) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->ex_style);
    case GWL_ID:
      return w->id;
    case GWL_USERDATA:
      return w->user_data;
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case DWL_MSGRESULT:
      return w->dialog_result;
    case DWL_DLGPROC:
      return w->dialog_proc;
    case DWL_USER:
      return w->dialog_user;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLong(HWND handle, int index, LONG_PTR value) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return 0;
  const LONG_PTR old = GetWindowLong(handle, index);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      break;
    case GWL_EXSTYLE:
      w->ex_style = static_cast<DWORD>(value);
      break;
    case GWL_ID:
      w->id = static_cast<int>(value);
      break;
    case GWL_USERDATA:
      w->user_data = value;
      break;
    case GWL_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case DWL_MSGRESULT:
      w->dialog_result = value;
      break;
    case DWL_DLGPROC:
      w->dialog_proc = value;
      break;
    case DWL_USER:
      w->dialog_user = value;
      break;
    default:
      return 0;
  }
  return old;
}

LRESULT DefWindowProc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_ERASEBKGND: {
      HBRUSH brush = w->window_class->background;
      if (brush == nullptr) return 0;
      RECT r;
      GetClientRect(handle, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(handle, &ps);
      EndPaint(handle, &ps);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_SETTEXT:
      w->text = lparam != 0 ? reinterpret_cast<const char16_t*>(lparam) : u"";
      if (internal::HasCaption(*w)) w->frame_dirty = true;
      return TRUE;
    case WM_GETTEXT: {
      const size_t size = static_cast<size_t>(wparam);
      if (size == 0 || lparam == 0) return 0;
      const size_t n = WholeCharacters(w->text, size - 1);
      auto* out = reinterpret_cast<char16_t*>(lparam);
      std::copy_n(w->text.data(), n, out);
      out[n] = u'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) {
        HWND focus = S().focus;
        if (focus != handle && !IsChild(handle, focus)) SetFocus(handle);
      }
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    default:
      return 0;
  }
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  const RECT whole{0, 0, w->client.Width(), w->client.Height()};
  const RECT area = rect != nullptr ? Intersect(*rect, whole) : whole;
  if (area.Empty()) return TRUE;
  w->invalid = Union(w->invalid, area);
  if (erase) w->erase = true;
  // A window invalidated whole takes its children along (screens invalidate their dialog to
  // have everything drawn again); WS_CLIPCHILDREN asks for the parent alone.
  if (!(w->style & WS_CLIPCHILDREN)) {
    const RECT screen = Offset(area, w->client.left, w->client.top);
    for (HWND c : w->children) {
      Window* child = internal::Find(c);
      if (child == nullptr) continue;
      const RECT part = Intersect(screen, child->client);
      if (part.Empty()) continue;
      const RECT local = Offset(part, -child->client.left, -child->client.top);
      InvalidateRect(c, &local, erase);
    }
  }
  return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT* rect) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  // Only the whole of the invalid area can be taken back: it is kept as one rectangle.
  if (rect == nullptr || (Intersect(*rect, w->invalid) == w->invalid)) w->invalid = {};
  return TRUE;
}

BOOL UpdateWindow(HWND handle) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  if (w->frame_dirty && internal::Visible(*w)) {
    w->frame_dirty = false;
    if (internal::HasCaption(*w)) internal::DrawFrame(*w);
  }
  if (!w->invalid.Empty() && internal::Visible(*w)) SendMessage(handle, WM_PAINT, 0, 0);
  w = internal::Find(handle);
  if (w == nullptr) return TRUE;
  for (HWND c : std::vector<HWND>(w->children)) UpdateWindow(c);
  return TRUE;
}

BOOL GetUpdateRect(HWND handle, RECT* rect, BOOL) {
  Window* w = internal::Find(handle);
  if (w == nullptr) return FALSE;
  if (rect != nullptr) *rect = w->invalid;
  return w->invalid.Empty() ? FALSE : TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
  if (info == nullptr || !(info->dwMask & SHIDIM_FLAGS) || !IsWindow(info->hDlg)) return FALSE;
  if (info->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN)) {
    Window* w = internal::Find(info->hDlg);
    // On the handheld a full-screen dialog's caption moves to the shell's bar above the
    // screen area; here there is no such bar, so the whole 240 x 268 is the dialog's.
    w->style &= ~WS_CAPTION;
    int32_t x = 0, y = 0;
    if (w->parent != nullptr) {
      Window* p = internal::Find(w->parent);
      x = -p->client.left;
      y = -p->client.top;
    }
    SetWindowPos(info->hDlg, nullptr, x, y, kScreenWidth, kScreenHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE;
}

BOOL SHFullScreen(HWND, DWORD state) {
  bool shown = S().input_panel_button;
  if (state & SHFS_HIDESIPBUTTON) shown = false;
  if (state & SHFS_SHOWSIPBUTTON) shown = true;
  if (shown != S().input_panel_button) {
    S().input_panel_button = shown;
    internal::InvalidateScreenArea({216, kScreenHeight, kScreenWidth, kFrameHeight});
  }
  return TRUE;
}

bool InputPanelButtonShown() {
  return S().input_panel_button;
}

BOOL SHSipPreference(HWND, int) {
  return TRUE;
}

BOOL SHHandleWMSettingChange(HWND, WPARAM, LPARAM, void*) {
  return TRUE;
}

}  // namespace ce

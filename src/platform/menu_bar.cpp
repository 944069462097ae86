#include "platform/menu_bar.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/window_internal.h"

namespace ce {

namespace {

constexpr COLORREF kBarColour = RGB(72, 36, 104);
constexpr COLORREF kBarLine = RGB(112, 64, 146);
constexpr COLORREF kInk = RGB(0, 24, 66);
constexpr COLORREF kHighlight = RGB(0, 0, 255);

struct BarState {
  std::span<const MenuButton> buttons;
  int open_button = -1;
};

std::map<UINT, std::span<const MenuButton>>& Resources() {
  static std::map<UINT, std::span<const MenuButton>> resources;
  return resources;
}

std::map<HWND, BarState>& Bars() {
  static std::map<HWND, BarState> bars;
  return bars;
}

struct MenuState {
  HWND bar = nullptr;
  HWND owner = nullptr;  // receives WM_COMMAND
  std::span<const MenuItem> items;
  int pressed = -1;
};

HWND g_open_menu = nullptr;
std::map<HWND, MenuState>& Menus() {
  static std::map<HWND, MenuState> menus;
  return menus;
}

// The bar's buttons are bold, the menus' items regular; both 13-pixel Tahoma.
HFONT MenuFont(bool bold) {
  static HFONT fonts[2] = {};
  HFONT& font = fonts[bold ? 1 : 0];
  if (font == nullptr) {
    LOGFONT lf{};
    lf.lfHeight = 13;
    lf.lfWeight = bold ? 700 : 400;
    std::char_traits<char16_t>::copy(lf.lfFaceName, u"Tahoma", 7);
    font = CreateFontIndirect(&lf);
  }
  return font;
}

int32_t MenuHeight(std::span<const MenuItem> items) {
  int32_t h = 2 * kMenuBorder;
  for (const MenuItem& item : items) h += item.id == 0 ? kMenuSeparatorHeight : kMenuItemHeight;
  return h;
}

// The item under a point of the menu's client area, or -1.
int ItemAt(std::span<const MenuItem> items, int32_t x, int32_t y) {
  if (x < 0 || x >= kMenuWidth) return -1;
  int32_t top = kMenuBorder;
  for (size_t i = 0; i < items.size(); ++i) {
    const int32_t h = items[i].id == 0 ? kMenuSeparatorHeight : kMenuItemHeight;
    if (y >= top && y < top + h) return items[i].id == 0 ? -1 : static_cast<int>(i);
    top += h;
  }
  return -1;
}

void CloseMenu() {
  const HWND menu = g_open_menu;
  if (menu == nullptr) return;
  g_open_menu = nullptr;
  const HWND bar = Menus()[menu].bar;
  Menus().erase(menu);
  if (GetCapture() == menu) ReleaseCapture();
  DestroyWindow(menu);
  if (Bars().count(bar) != 0) {
    Bars()[bar].open_button = -1;
    InvalidateRect(bar, nullptr, TRUE);
  }
}

// The first entry from `from` on in direction `step` (+1 or -1) that is no separator, going
// round the menu's end; -1 for a menu of separators only.
int NextEntry(std::span<const MenuItem> items, int from, int step) {
  const auto count = static_cast<int>(items.size());
  for (int i = 1; i <= count; ++i) {
    const int at = ((from + step * i) % count + count) % count;
    if (items[static_cast<size_t>(at)].id != 0) return at;
  }
  return -1;
}

void OpenMenu(HWND bar, int button, bool by_key = false) {
  CloseMenu();
  BarState& state = Bars()[bar];
  if (button < 0 || static_cast<size_t>(button) >= state.buttons.size()) return;
  const MenuButton& b = state.buttons[static_cast<size_t>(button)];
  const int32_t height = MenuHeight(b.items);
  // Under its button, as the handheld's shell places it, but moved left as far as it would run
  // past the screen's right edge, where its entries would be cut off.
  const int32_t left = std::clamp(button * kMenuButtonWidth, 0, kScreenWidth - kMenuWidth);
  const HWND menu =
      CreateWindowEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"CalviraMenuPopup", u"", WS_POPUP, left,
                     kScreenHeight - height, kMenuWidth, height, bar, nullptr, nullptr, nullptr);
  if (menu == nullptr) return;
  // Opened by a key, the menu shows its first entry chosen, for Enter to run.
  Menus()[menu] = MenuState{bar, GetParent(bar), b.items, by_key ? NextEntry(b.items, -1, 1) : -1};
  g_open_menu = menu;
  state.open_button = button;
  ShowWindow(menu, SW_SHOW);
  SetCapture(menu);
  InvalidateRect(bar, nullptr, TRUE);
}

void Choose(const MenuState& state, int item) {
  const HWND owner = state.owner;
  const UINT id = state.items[static_cast<size_t>(item)].id;
  CloseMenu();
  if (owner != nullptr) PostMessage(owner, WM_COMMAND, id, 0);
}

LRESULT CALLBACK_Menu(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto found = Menus().find(window);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillSolidRect(dc, r, RGB(255, 255, 255));
      FillSolidRect(dc, {0, 0, r.right, 1}, kInk);
      FillSolidRect(dc, {0, 0, 1, r.bottom}, kInk);
      FillSolidRect(dc, {r.right - 1, 0, r.right, r.bottom}, kInk);
      if (found != Menus().end()) {
        SelectObject(dc, MenuFont(false));
        SetBkMode(dc, TRANSPARENT);
        int32_t top = kMenuBorder;
        const auto& items = found->second.items;
        for (size_t i = 0; i < items.size(); ++i) {
          if (items[i].id == 0) {
            DrawHorizontalLine(dc, 4, top + kMenuSeparatorHeight / 2, kMenuWidth - 8,
                               RGB(188, 168, 226));
            top += kMenuSeparatorHeight;
            continue;
          }
          const bool pressed = static_cast<int>(i) == found->second.pressed;
          if (pressed)
            FillSolidRect(dc, {1, top, kMenuWidth - 1, top + kMenuItemHeight}, kHighlight);
          SetTextColor(dc, pressed ? RGB(255, 255, 255) : RGB(0, 0, 0));
          RECT text{8, top, kMenuWidth - 4, top + kMenuItemHeight};
          DrawText(dc, items[i].text, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
          top += kMenuItemHeight;
        }
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      if (found == Menus().end()) return 0;
      const int32_t x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
      RECT r;
      GetClientRect(window, &r);
      const bool inside = r.Contains(x, y);
      if (message == WM_LBUTTONDOWN && !inside) {
        // A tap outside closes the menu; on another button of the bar it opens that one.
        POINT p{x, y};
        ClientToScreen(window, &p);
        const HWND bar = found->second.bar;
        RECT bar_rect;
        GetWindowRect(bar, &bar_rect);
        const int previous = Bars()[bar].open_button;
        CloseMenu();
        if (bar_rect.Contains(p.x, p.y)) {
          const int button = p.x / kMenuButtonWidth;
          if (button != previous) OpenMenu(bar, button);
        }
        return 0;
      }
      const int item = inside ? ItemAt(found->second.items, x, y) : -1;
      if (message != WM_LBUTTONUP) {
        if (item != found->second.pressed) {
          found->second.pressed = item;
          InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
      }
      if (item >= 0) {
        Choose(found->second, item);
      } else if (found->second.pressed >= 0) {
        found->second.pressed = -1;
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    }
    case WM_DESTROY:
      if (g_open_menu == window) g_open_menu = nullptr;
      Menus().erase(window);
      return 0;
    default:
      return DefWindowProc(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK_Bar(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillSolidRect(dc, r, kBarColour);
      DrawHorizontalLine(dc, 0, 0, r.right, kBarLine);
      auto found = Bars().find(window);
      if (found != Bars().end()) {
        SelectObject(dc, MenuFont(true));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        for (size_t i = 0; i < found->second.buttons.size(); ++i) {
          const int32_t left = static_cast<int32_t>(i) * kMenuButtonWidth;
          RECT button{left, 1, left + kMenuButtonWidth, r.bottom};
          if (static_cast<int>(i) == found->second.open_button) {
            FillSolidRect(dc, button, kBarLine);
          }
          DrawText(dc, found->second.buttons[i].text, -1, &button,
                   DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
      }
      if (InputPanelButtonShown()) {
        // The input-panel button: a small keyboard.
        const RECT key{220, 8, 236, 18};
        FillSolidRect(dc, key, RGB(226, 216, 242));
        for (int32_t x = key.left + 2; x < key.right - 1; x += 3) {
          FillSolidRect(dc, {x, key.top + 2, x + 2, key.top + 4}, kBarColour);
          FillSolidRect(dc, {x, key.top + 5, x + 2, key.top + 7}, kBarColour);
        }
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      auto found = Bars().find(window);
      if (found == Bars().end()) return 0;
      const int32_t x = GET_X_LPARAM(lparam);
      const int button = x / kMenuButtonWidth;
      if (button >= 0 && static_cast<size_t>(button) < found->second.buttons.size()) {
        OpenMenu(window, button);
      }
      return 0;
    }
    case WM_DESTROY:
      CloseMenu();
      Bars().erase(window);
      return 0;
    default:
      return DefWindowProc(window, message, wparam, lparam);
  }
}

}  // namespace

namespace internal {

void RegisterMenuBarClasses() {
  WNDCLASS bar{};
  bar.lpfnWndProc = CALLBACK_Bar;
  bar.lpszClassName = u"menu_worker";
  RegisterClass(&bar);
  WNDCLASS menu{};
  menu.lpfnWndProc = CALLBACK_Menu;
  menu.lpszClassName = u"CalviraMenuPopup";
  RegisterClass(&menu);
}

}  // namespace internal

void RegisterMenuBarResource(UINT id, std::span<const MenuButton> buttons) {
  Resources()[id] = buttons;
}

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  if (info == nullptr || !IsWindow(info->hwndParent)) return FALSE;
  auto found = Resources().find(info->nToolBarId);
  if (found == Resources().end()) return FALSE;
  const HWND bar = CreateWindowEx(WS_EX_NOACTIVATE, u"menu_worker", u"", WS_POPUP, 0, kScreenHeight,
                                  kScreenWidth, kMenuBarHeight, info->hwndParent, nullptr,
                                  info->hInstRes, nullptr);
  if (bar == nullptr) return FALSE;
  Bars()[bar] = BarState{found->second, -1};
  ShowWindow(bar, SW_SHOW);
  info->hwndMB = bar;
  return TRUE;
}

bool OpenMenuBarByKey(HWND bar) {
  auto found = Bars().find(bar);
  if (found == Bars().end() || found->second.buttons.empty() || !IsWindowVisible(bar) ||
      !IsWindowEnabled(bar)) {
    return false;
  }
  OpenMenu(bar, 0, true);
  return g_open_menu != nullptr;
}

bool MenuKey(UINT key) {
  auto found = Menus().find(g_open_menu);
  if (found == Menus().end()) return false;
  MenuState& state = found->second;
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END: {
      // Searching from the entry before the first finds the first; from the first backwards,
      // the last. Opened by the pen, nothing is chosen yet: Down starts at the top, Up at the end.
      int next = -1;
      if (key == VK_HOME) next = NextEntry(state.items, -1, 1);
      if (key == VK_END) next = NextEntry(state.items, 0, -1);
      if (key == VK_DOWN) next = NextEntry(state.items, state.pressed, 1);
      if (key == VK_UP) next = NextEntry(state.items, std::max(state.pressed, 0), -1);
      if (next != state.pressed) {
        state.pressed = next;
        InvalidateRect(g_open_menu, nullptr, TRUE);
      }
      return true;
    }
    case VK_LEFT:
    case VK_RIGHT: {
      const HWND bar = state.bar;
      const auto count = static_cast<int>(Bars()[bar].buttons.size());
      const int button = (Bars()[bar].open_button + (key == VK_LEFT ? count - 1 : 1)) % count;
      OpenMenu(bar, button, true);
      return true;
    }
    case VK_RETURN:
    case VK_SPACE:
      if (state.pressed >= 0) Choose(state, state.pressed);
      return true;
    case VK_ESCAPE:
    case VK_F10:
    case VK_MENU:
      CloseMenu();
      return true;
    default:
      return true;  // an open menu has the keyboard to itself
  }
}

HWND OpenMenuWindow() {
  return g_open_menu;
}

std::vector<MenuEntry> MenuEntries(HWND window) {
  std::vector<MenuEntry> entries;
  RECT origin;
  if (!GetWindowRect(window, &origin)) return entries;
  if (auto bar = Bars().find(window); bar != Bars().end()) {
    for (size_t i = 0; i < bar->second.buttons.size(); ++i) {
      const int32_t left = origin.left + static_cast<int32_t>(i) * kMenuButtonWidth;
      const MenuButton& b = bar->second.buttons[i];
      entries.push_back(
          {b.command, b.text, {left, origin.top, left + kMenuButtonWidth, origin.bottom}});
    }
  } else if (auto menu = Menus().find(window); menu != Menus().end()) {
    int32_t top = origin.top + kMenuBorder;
    for (const MenuItem& item : menu->second.items) {
      const int32_t h = item.id == 0 ? kMenuSeparatorHeight : kMenuItemHeight;
      entries.push_back(
          {item.id, item.id == 0 ? u"" : item.text, {origin.left, top, origin.right, top + h}});
      top += h;
    }
  }
  return entries;
}

}  // namespace ce

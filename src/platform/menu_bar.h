// The shell's menu bar: a strip under the screen area with drop-down buttons, and the pop-up
// menus they open. A chosen item reaches the bar's parent as WM_COMMAND with the item's id.
//
// Geometry: the bar is 26 pixels tall at y 268-293; buttons are 48 pixels wide from x 0; the
// input-panel button sits at x 216-239 while it is shown. A menu is 150 pixels wide with its left
// edge at its button's, moved left just enough to stay within x 0-239 (the third button's menu
// starts at x 90); items 18 pixels tall, separators 6, 2 pixels of border above and below, and
// its bottom edge at y 268.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/window.h"

namespace ce {

struct MenuItem {
  UINT id = 0;  // 0: a separator
  const char16_t* text = u"";
};

struct MenuButton {
  UINT command = 0;
  const char16_t* text = u"";
  std::span<const MenuItem> items;
};

// The program registers its menu bar resources once, by id.
void RegisterMenuBarResource(UINT id, std::span<const MenuButton> buttons);

struct SHMENUBARINFO {
  DWORD cbSize = sizeof(SHMENUBARINFO);
  HWND hwndParent = nullptr;
  DWORD dwFlags = 0;
  UINT nToolBarId = 0;
  HINSTANCE hInstRes = nullptr;
  int nBmpId = 0;
  int cBmpImages = 0;
  HWND hwndMB = nullptr;  // set on success
  COLORREF clrBk = 0;
};
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// The keyboard's way into the bar: opens its first menu with the first entry chosen; false when
// the bar is hidden or disabled. While a menu is open, MenuKey takes every key: Up and Down (Home
// and End) choose an entry, Left and Right open the neighbouring menu, Enter runs the chosen
// entry, Esc, F10 and Alt close the menu. It returns false when no menu is open.
bool OpenMenuBarByKey(HWND bar);
bool MenuKey(UINT key);

// The pop-up menu now open, if any (for tests).
HWND OpenMenuWindow();

// What a menu bar or an open pop-up menu shows, with each entry's rectangle in frame-buffer
// pixels, for tools that look at the program from outside and for tests. A separator is an
// entry with an empty text and id 0. Empty for any other window.
struct MenuEntry {
  UINT id = 0;  // the command of a pop-up's item; the bar's buttons have their resource's
  std::u16string text;
  RECT rect{};
};
std::vector<MenuEntry> MenuEntries(HWND window);

inline constexpr int32_t kMenuButtonWidth = 48;
inline constexpr int32_t kMenuWidth = 150;
inline constexpr int32_t kMenuItemHeight = 18;
inline constexpr int32_t kMenuSeparatorHeight = 6;
inline constexpr int32_t kMenuBorder = 2;

}  // namespace ce

#include "support/input.h"

#include "platform/menu_bar.h"
#include "platform/window.h"
#include "platform/window_tree.h"

namespace calvira::testing {

using Kind = ce::InputEvent::Kind;

ce::InputEvent KeyEvent(Kind kind, ce::UINT key) {
  ce::InputEvent e;
  e.kind = kind;
  e.key = key;
  return e;
}

void Pen(Kind kind, ce::POINT p) {
  ce::InputEvent e;
  e.kind = kind;
  e.x = p.x;
  e.y = p.y;
  ce::InjectInput(e);
}

void Tap(int32_t x, int32_t y) {
  Pen(Kind::kPenDown, {x, y});
  Pen(Kind::kPenUp, {x, y});
}

ce::POINT Centre(const ce::RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

ce::RECT RectOf(ce::HWND window) {
  ce::RECT r{};
  ce::GetWindowRect(window, &r);
  return r;
}

void Tap(ce::HWND window) {
  const ce::POINT p = Centre(RectOf(window));
  Tap(p.x, p.y);
}

void Key(ce::UINT key, ce::UINT modifier) {
  if (modifier != 0) ce::InjectInput(KeyEvent(Kind::kKeyDown, modifier));
  ce::InjectInput(KeyEvent(Kind::kKeyDown, key));
  ce::InjectInput(KeyEvent(Kind::kKeyUp, key));
  if (modifier != 0) ce::InjectInput(KeyEvent(Kind::kKeyUp, modifier));
}

void Type(std::u16string_view text) {
  for (char16_t c : text) {
    ce::InputEvent e;
    e.kind = Kind::kChar;
    e.ch = c;
    ce::InjectInput(e);
  }
}

ce::HWND FindControl(int id) {
  // Each level of the window tree comes from the top of the z-order down.
  for (const ce::WindowInfo& info : ce::DescribeWindows()) {
    if (info.visible && info.id == id) return info.hwnd;
  }
  return nullptr;
}

std::optional<ce::RECT> FindMenuEntry(ce::UINT id) {
  for (const ce::WindowInfo& info : ce::DescribeWindows()) {
    if (!info.visible) continue;
    for (const ce::MenuEntry& entry : ce::MenuEntries(info.hwnd)) {
      if (entry.id == id) return entry.rect;
    }
  }
  return std::nullopt;
}

}  // namespace calvira::testing

// Input as a user gives it, for every test that drives windows: taps, keys and typing go into the
// window system's input queue, as the display would put them there. And the places a user would
// aim at, found as `calvira --inspect` finds them: controls by id, menu entries by the
// rectangles the menu bar reports.
#pragma once

#include <optional>
#include <string_view>

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/types.h"

namespace calvira::testing {

ce::InputEvent KeyEvent(ce::InputEvent::Kind kind, ce::UINT key);

void Pen(ce::InputEvent::Kind kind, ce::POINT p);
void Tap(int32_t x, int32_t y);
// A tap in the middle of the window.
void Tap(ce::HWND window);
// Presses and releases `key`, with `modifier` (VK_SHIFT, VK_CONTROL) held around it if given.
void Key(ce::UINT key, ce::UINT modifier = 0);
void Type(std::u16string_view text);

ce::POINT Centre(const ce::RECT& r);
// The window's rectangle on the screen.
ce::RECT RectOf(ce::HWND window);

// The topmost visible window with this control id; null when there is none.
ce::HWND FindControl(int id);
// The rectangle of the topmost visible menu entry with this id: a bar button by its resource's
// command, or an open menu's item by its command.
std::optional<ce::RECT> FindMenuEntry(ce::UINT id);

}  // namespace calvira::testing

// The window system's own state, shared by window.cpp, paint.cpp, gdi.cpp, the menu bar and
// the controls. Handles are numbers that are never reused, so a handle kept past its window's
// destruction stays invalid instead of naming a newer window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/font_engine.h"
#include "platform/gdi.h"
#include "platform/window.h"

namespace ce::internal {

struct WindowClass {
  std::u16string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  HINSTANCE instance = nullptr;
};

struct Window {
  HWND handle = nullptr;
  const WindowClass* window_class = nullptr;
  WNDPROC proc = nullptr;
  std::u16string text;
  DWORD style = 0;
  DWORD ex_style = 0;
  int id = 0;
  HWND parent = nullptr;       // children only
  HWND owner = nullptr;        // pop-ups and overlapped windows only
  std::vector<HWND> children;  // back to front: the last one is on top
  RECT rect{};                 // the window, frame-buffer coordinates
  RECT client{};               // its client area, frame-buffer coordinates
  LONG_PTR user_data = 0;
  LONG_PTR dialog_result = 0;
  LONG_PTR dialog_proc = 0;
  LONG_PTR dialog_user = 0;
  RECT invalid{};  // client coordinates; empty when valid
  bool erase = false;
  bool frame_dirty = false;  // the caption bar needs drawing
  bool destroying = false;
  bool created = false;  // WM_CREATE has returned
};

Window* Find(HWND handle);  // null for an unknown or destroyed handle
bool IsTopLevel(const Window& w);
bool HasCaption(const Window& w);
// Top-level windows, back to front.
const std::vector<HWND>& TopLevelWindows();
// Whether the window and all its ancestors are visible.
bool Visible(const Window& w);

// The parts of `area` (frame-buffer coordinates) that `w`'s client area shows: inside its own
// and its ancestors' client areas, minus every window above it. Rectangles do not overlap.
std::vector<RECT> VisibleParts(const Window& w, const RECT& area, bool include_frame = false);
// Marks everything under `area` (frame-buffer coordinates) for repainting, in every window
// below `above` (null: all windows).
void InvalidateScreenArea(const RECT& area);

// The frame buffer and its changed part.
struct FrameBuffer {
  std::vector<uint16_t> pixels;
  RECT dirty{};
};
FrameBuffer& Frame();
fonts::Surface FrameSurface();

// Draws a caption bar for a WS_CAPTION window.
void DrawFrame(const Window& w);

// Region arithmetic on lists of non-overlapping rectangles.
std::vector<RECT> Subtract(const std::vector<RECT>& from, const RECT& hole);
std::vector<RECT> IntersectAll(const std::vector<RECT>& parts, const RECT& with);

// Device-context internals used by the controls.
fonts::Font* DefaultFont();
fonts::Font* FontOf(HFONT font);

// The menu bar (menu_bar.cpp).
void RegisterMenuBarClasses();

}  // namespace ce::internal

// What the program shows, described for whoever looks from outside: `calvira --inspect` and
// `--screenshot` over the control socket, and the tests. Looking changes nothing: no message
// that could repaint, move the focus or the activation, or shift a timer is sent.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/types.h"

namespace ce {

struct WindowInfo {
  HWND hwnd = nullptr;
  HWND parent = nullptr;  // a child's parent, a pop-up's owner
  std::u16string class_name;
  int id = 0;
  std::u16string text;  // a password edit's is one bullet per character
  RECT rect{};          // frame-buffer pixels, right and bottom exclusive
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  std::optional<int> checked;               // check boxes and radio buttons: 0, 1 or 2
  std::optional<bool> read_only, password;  // edits
  // List and combo boxes: every line and the selected one (-1: none). The menu bar and an open
  // pop-up menu: their entries, separators as "", with `item_rects`.
  std::optional<std::vector<std::u16string>> items;
  std::optional<int> selected;
  std::vector<RECT> item_rects;
  std::optional<std::u16string> caption, body;  // message boxes
};

// Every window, level by level from the main window: a window after its parent (a pop-up after
// its owner), and the windows of one level from the top of the z-order down.
std::vector<WindowInfo> DescribeWindows();

// The line that describes the program as a whole, a JSON object without its newline; the
// frame sets it up (current screen and so on).
void SetProgramSummary(std::function<std::string()> summary);

// The answer to one control-socket request:
//   raise       "ok\n", and the window comes to the front
//   inspect     the program's summary line, then one JSON line per window
//   screenshot  "frame W H\n" followed by W x H RGB 5-6-5 pixels, little-endian, rows packed
// Anything else is answered with a line starting "error: ".
std::string AnswerControlRequest(std::string_view request);

// One window as a JSON line (without the newline).
std::string WindowInfoToJson(const WindowInfo& info);

}  // namespace ce

// The clipboard of the edit fields (cut, copy and paste with Ctrl+X, Ctrl+C and Ctrl+V, or
// WM_CUT, WM_COPY and WM_PASTE): the display's, so the desktop's on a desktop and the headless
// display's own in tests; with no display, a text that lives as long as the process.
#pragma once

#include <string>
#include <string_view>

namespace ce {

void SetClipboardText(std::u16string_view text);
std::u16string GetClipboardText();

}  // namespace ce

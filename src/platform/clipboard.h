// The clipboard: one text, shared by every edit field of the process (cut, copy and paste with
// Ctrl+X, Ctrl+C and Ctrl+V, or WM_CUT, WM_COPY and WM_PASTE). It lives as long as the process
// and is not the desktop's clipboard.
#pragma once

#include <string>
#include <string_view>

namespace ce {

void SetClipboardText(std::u16string_view text);
std::u16string GetClipboardText();

}  // namespace ce

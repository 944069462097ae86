#include "frame/screen_look.h"

#include <algorithm>

#include "ui/ids.h"

namespace {

// Made once and shared by every screen for the life of the program.
ce::INT_PTR Colours(ce::WPARAM wparam, ce::COLORREF text, ce::HBRUSH brush) {
  const auto dc = reinterpret_cast<ce::HDC>(wparam);
  ce::SetTextColor(dc, text);
  ce::SetBkMode(dc, ce::TRANSPARENT);
  return reinterpret_cast<ce::INT_PTR>(brush);
}

}  // namespace

ce::INT_PTR ControlColours(ce::WPARAM dc) {
  static const ce::HBRUSH cyan = ce::CreateSolidBrush(ce::RGB(0, 255, 255));
  return Colours(dc, ce::RGB(0, 0, 0), cyan);
}

ce::INT_PTR TitleColours(ce::WPARAM dc) {
  static const ce::HBRUSH blue = ce::CreateSolidBrush(ce::RGB(0, 0, 255));
  return Colours(dc, ce::RGB(255, 255, 255), blue);
}

ce::INT_PTR ScreenColours(ce::WPARAM dc, ce::LPARAM control, std::span<const int> cyan) {
  const int id = ce::GetDlgCtrlID(reinterpret_cast<ce::HWND>(control));
  if (id == kCtlTitle) return TitleColours(dc);
  if (std::find(cyan.begin(), cyan.end(), id) != cyan.end()) return ControlColours(dc);
  return ce::FALSE;
}

// The STATIC class: left, centred or right text, word-wrapped unless SS_LEFTNOWORDWRAP, an
// optional frame, and STN_CLICKED for SS_NOTIFY. Without SS_NOTIFY a static lets taps through
// to what lies under it, as on the handheld, so screens that read taps on their dialog still
// get the taps that land on a label.
#include <string>

#include "platform/controls_internal.h"

namespace ce {
namespace {

constexpr DWORD kTypeMask = 0x1F;
constexpr DWORD kLeftNoWordWrap = 0xC;
constexpr DWORD kSimple = 0xB;
constexpr WORD kClicked = 0;  // STN_CLICKED
constexpr WORD kDoubleClicked = 1;

struct StaticState {
  HFONT font = nullptr;
};

ControlStates<StaticState>& States() {
  static ControlStates<StaticState> states;
  return states;
}

UINT FormatOf(DWORD style) {
  UINT format = DT_NOPREFIX;
  switch (style & kTypeMask) {
    case SS_CENTER:
      format |= DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format |= DT_RIGHT | DT_WORDBREAK;
      break;
    case kLeftNoWordWrap:
    case kSimple:
      format |= DT_LEFT;
      break;
    default:
      format |= DT_LEFT | DT_WORDBREAK;
      break;
  }
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  return format;
}

void Paint(HWND window, const StaticState& st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  SelectObject(dc, FontOrDefault(st.font));
  HBRUSH brush = AskParentForColours(window, dc, WM_CTLCOLORSTATIC);
  FillBackground(dc, client, brush, kWindowFace);
  const DWORD style = StyleOf(window);
  RECT text_rect = client;
  if ((style & WS_BORDER) || (GetWindowLong(window, GWL_EXSTYLE) & WS_EX_STATICEDGE)) {
    DrawOutline(dc, client, kInk);
    text_rect = {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
  }
  if (!IsWindowEnabled(window)) SetTextColor(dc, kGrayText);
  const std::u16string text = GetWindowString(window);
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &text_rect, FormatOf(style));
  EndPaint(window, &ps);
}

LRESULT StaticProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    States().Create(window);
    return 0;
  }
  std::shared_ptr<StaticState> st = States().Get(window);
  if (st == nullptr) return DefWindowProc(window, message, wparam, lparam);
  const bool notify = (StyleOf(window) & SS_NOTIFY) != 0;
  switch (message) {
    case WM_DESTROY:
      States().Erase(window);
      return 0;
    case WM_NCHITTEST:
      return notify ? HTCLIENT : HTTRANSPARENT;
    case WM_SETTEXT:
      DefWindowProc(window, message, wparam, lparam);
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wparam);
      if (lparam) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st->font);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window, *st);
      return 0;
    case WM_LBUTTONDOWN:
      if (notify) NotifyParent(window, kClicked);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (notify) NotifyParent(window, kDoubleClicked);
      return 0;
    default:
      return DefWindowProc(window, message, wparam, lparam);
  }
}

}  // namespace

void RegisterStaticClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &StaticProc;
  wc.lpszClassName = kStaticClass;
  RegisterClass(&wc);
}

}  // namespace ce

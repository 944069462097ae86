// The BUTTON class: push button, default push button, check box, auto check box, radio button,
// auto radio button and group box. One press state machine serves them all: the pen (press on
// down, click on release inside) and the Space key (press on key down, click on key up, as the
// handheld does).
#include <array>
#include <string>

#include "platform/controls_internal.h"

namespace ce {
namespace {

struct ButtonState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;      // drawn pressed
  bool tracking = false;    // the pen went down on it and it holds the capture
  bool space_down = false;  // Space went down while it had the focus
  bool focused = false;
  HFONT font = nullptr;
};

ControlStates<ButtonState>& States() {
  static ControlStates<ButtonState> states;
  return states;
}

enum class Kind { kPush, kDefPush, kCheck, kRadio, kGroup };

DWORD TypeOf(HWND button) {
  return StyleOf(button) & BS_TYPEMASK;
}

Kind KindOf(HWND button) {
  switch (TypeOf(button)) {
    case BS_DEFPUSHBUTTON:
      return Kind::kDefPush;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      return Kind::kCheck;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Kind::kRadio;
    case BS_GROUPBOX:
      return Kind::kGroup;
    default:
      return Kind::kPush;
  }
}

void Redraw(HWND button) {
  InvalidateRect(button, nullptr, TRUE);
}

void SetCheck(HWND button, ButtonState& st, WPARAM check) {
  const Kind kind = KindOf(button);
  if (kind != Kind::kCheck && kind != Kind::kRadio) return;
  const UINT value = check != BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
  if (kind == Kind::kRadio) {
    // Tab lands on the chosen radio button of a group.
    DWORD style = StyleOf(button);
    style = value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLong(button, GWL_STYLE, static_cast<LONG_PTR>(style));
  }
  if (st.check != value) {
    st.check = value;
    Redraw(button);
  }
}

// What a completed press does: auto buttons change their state first, then the parent hears.
void Click(HWND button) {
  switch (TypeOf(button)) {
    case BS_AUTOCHECKBOX:
      if (auto st = States().Get(button)) SetCheck(button, *st, st->check ? 0 : 1);
      break;
    case BS_AUTORADIOBUTTON:
      if (auto st = States().Get(button)) SetCheck(button, *st, BST_CHECKED);
      for (HWND other : DialogGroupOf(button)) {
        if (other != button && GetClassName(other) == kButtonClass &&
            (StyleOf(other) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
          SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
      }
      break;
    default:
      break;
  }
  NotifyParent(button, BN_CLICKED);
}

bool Inside(HWND button, LPARAM lparam) {
  RECT client;
  GetClientRect(button, &client);
  return client.Contains(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
}

RECT Inset(const RECT& r, int32_t by) {
  return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void PaintPush(HDC dc, const RECT& client, const ButtonState& st, bool is_default,
               const std::u16string& text, HBRUSH brush) {
  FillBackground(dc, client, brush, kButtonFace);
  DrawOutline(dc, client, kInk);
  RECT inner = Inset(client, 1);
  if (is_default) {
    DrawOutline(dc, inner, kInk);
    inner = Inset(inner, 1);
  }
  DrawBevel(dc, inner, st.pushed);
  RECT text_rect{inner.left + 1, client.top, inner.right - 1, client.bottom};
  if (st.pushed) text_rect = Offset(text_rect, 1, 1);
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (st.focused) DrawFocusMark(dc, Inset(inner, 2), kInk);
}

// The 11 x 11 radio circle: 'o' outline, '.' inside, '*' the dot of a chosen button.
constexpr std::array<const char*, 11> kRadio = {
    "   ooooo   ", " oo.....oo ", " o.......o ", "o...***...o", "o..*****..o", "o..*****..o",
    "o..*****..o", "o...***...o", " o.......o ", " oo.....oo ", "   ooooo   ",
};

void PaintMark(HDC dc, Kind kind, int32_t x, int32_t y, const ButtonState& st, bool enabled) {
  const COLORREF face = st.pushed || !enabled ? kButtonFace : kWindowFace;
  const COLORREF mark = enabled ? kInk : kGrayText;
  if (kind == Kind::kCheck) {
    FillSolidRect(dc, {x, y, x + 11, y + 11}, face);
    DrawOutline(dc, {x, y, x + 11, y + 11}, kInk);
    if (st.check) {
      // A tick: three steps down, four up, each two pixels tall.
      const int32_t down[3][2] = {{2, 5}, {3, 6}, {4, 7}};
      const int32_t up[4][2] = {{5, 6}, {6, 5}, {7, 4}, {8, 3}};
      for (const auto& p : down)
        FillSolidRect(dc, {x + p[0], y + p[1], x + p[0] + 1, y + p[1] + 2}, mark);
      for (const auto& p : up)
        FillSolidRect(dc, {x + p[0], y + p[1], x + p[0] + 1, y + p[1] + 2}, mark);
    }
    return;
  }
  for (int32_t row = 0; row < 11; ++row) {
    for (int32_t col = 0; col < 11; ++col) {
      const char c = kRadio[static_cast<size_t>(row)][col];
      COLORREF colour;
      if (c == 'o') {
        colour = kInk;
      } else if (c == '*') {
        colour = st.check ? mark : face;
      } else if (c == '.') {
        colour = face;
      } else {
        continue;
      }
      FillSolidRect(dc, {x + col, y + row, x + col + 1, y + row + 1}, colour);
    }
  }
}

void PaintCheckOrRadio(HWND button, HDC dc, const RECT& client, const ButtonState& st, Kind kind,
                       const std::u16string& text, HBRUSH brush) {
  FillBackground(dc, client, brush, kWindowFace);
  const bool left_text = (StyleOf(button) & BS_LEFTTEXT) != 0;
  const int32_t box_y = client.top + (client.Height() - 11) / 2;
  const int32_t box_x = left_text ? client.right - 11 : client.left;
  PaintMark(dc, kind, box_x, box_y, st, IsWindowEnabled(button) != FALSE);
  RECT text_rect = left_text ? RECT{client.left, client.top, box_x - 4, client.bottom}
                             : RECT{box_x + 11 + 4, client.top, client.right, client.bottom};
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
           DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (st.focused && !text.empty()) {
    const int32_t width = std::min(TextWidth(dc, text) + 4, text_rect.Width() + 2);
    const int32_t height = std::min(CellHeightOf(FontOrDefault(st.font)) + 2, client.Height());
    const int32_t top = client.top + (client.Height() - height) / 2;
    DrawFocusMark(dc, {text_rect.left - 2, top, text_rect.left - 2 + width, top + height}, kInk);
  }
}

void PaintGroup(HDC dc, const RECT& client, const std::u16string& text, HBRUSH brush,
                int32_t cell) {
  // The frame runs through the middle of the text line; the text cuts it at the top left.
  const int32_t top = client.top + cell / 2;
  const int32_t text_left = client.left + 6;
  const int32_t text_width = text.empty() ? 0 : TextWidth(dc, text) + 4;
  const RECT text_rect{text_left, client.top, std::min(text_left + text_width, client.right - 1),
                       client.top + cell};
  if (brush != nullptr && !text.empty()) FillRect(dc, &text_rect, brush);
  DrawHorizontalLine(dc, client.left, top, text_left - client.left, kInk);
  DrawHorizontalLine(dc, text_rect.right, top, client.right - text_rect.right, kInk);
  DrawHorizontalLine(dc, client.left, client.bottom - 1, client.Width(), kInk);
  DrawVerticalLine(dc, client.left, top, client.bottom - top, kInk);
  DrawVerticalLine(dc, client.right - 1, top, client.bottom - top, kInk);
  RECT inside{text_left + 2, client.top, text_rect.right, client.top + cell};
  DrawText(dc, text.c_str(), static_cast<int>(text.size()), &inside,
           DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void Paint(HWND button, const ButtonState& st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(button, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(button, &client);
  SelectObject(dc, FontOrDefault(st.font));
  HBRUSH brush = AskParentForColours(button, dc, WM_CTLCOLORBTN);
  if (!IsWindowEnabled(button)) SetTextColor(dc, kGrayText);
  const std::u16string text = GetWindowString(button);
  switch (const Kind kind = KindOf(button)) {
    case Kind::kPush:
    case Kind::kDefPush:
      PaintPush(dc, client, st, kind == Kind::kDefPush, text, brush);
      break;
    case Kind::kCheck:
    case Kind::kRadio:
      PaintCheckOrRadio(button, dc, client, st, kind, text, brush);
      break;
    case Kind::kGroup:
      PaintGroup(dc, client, text, brush, CellHeightOf(FontOrDefault(st.font)));
      break;
  }
  EndPaint(button, &ps);
}

LRESULT DlgCodeOf(HWND button) {
  switch (KindOf(button)) {
    case Kind::kPush:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case Kind::kDefPush:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case Kind::kRadio:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case Kind::kGroup:
      return DLGC_STATIC;
    case Kind::kCheck:
      break;
  }
  return DLGC_BUTTON;
}

LRESULT ButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    States().Create(button);
    return 0;
  }
  std::shared_ptr<ButtonState> st = States().Get(button);
  if (st == nullptr) return DefWindowProc(button, message, wparam, lparam);
  const bool group = KindOf(button) == Kind::kGroup;
  switch (message) {
    case WM_DESTROY:
      States().Erase(button);
      return 0;
    case WM_NCHITTEST:
      // A group box lies round its buttons; taps go through it to them.
      return group ? HTTRANSPARENT : HTCLIENT;
    case WM_SETTEXT:
      DefWindowProc(button, message, wparam, lparam);
      Redraw(button);
      return TRUE;
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wparam);
      if (lparam) Redraw(button);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st->font);
    case WM_GETDLGCODE:
      return DlgCodeOf(button);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(button, *st);
      return 0;
    case WM_SETFOCUS:
      st->focused = true;
      Redraw(button);
      DialogControlFocused(button);
      return 0;
    case WM_KILLFOCUS:
      st->focused = false;
      st->space_down = false;
      if (!st->tracking) st->pushed = false;
      Redraw(button);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (group || !IsWindowEnabled(button)) return 0;
      if (GetFocus() != button) SetFocus(button);
      if (States().Get(button) == nullptr) return 0;  // the focus change took it away
      SetCapture(button);
      st->tracking = true;
      st->pushed = true;
      Redraw(button);
      return 0;
    case WM_MOUSEMOVE:
      if (st->tracking) {
        const bool inside = Inside(button, lparam);
        if (inside != st->pushed) {
          st->pushed = inside;
          Redraw(button);
        }
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!st->tracking) return 0;
      const bool clicked = st->pushed && Inside(button, lparam);
      st->tracking = false;
      st->pushed = false;
      Redraw(button);
      if (GetCapture() == button) ReleaseCapture();
      if (clicked) Click(button);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (st->tracking) {
        st->tracking = false;
        st->pushed = false;
        Redraw(button);
      }
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE && !group && !st->space_down && !st->tracking) {
        st->space_down = true;
        st->pushed = true;
        Redraw(button);
      }
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE && st->space_down) {
        st->space_down = false;
        const bool clicked = st->pushed;
        st->pushed = false;
        Redraw(button);
        if (clicked) Click(button);
      }
      return 0;
    case BM_GETCHECK:
      return st->check;
    case BM_SETCHECK:
      SetCheck(button, *st, wparam);
      return 0;
    case BM_GETSTATE:
      return static_cast<LRESULT>(st->check | (st->pushed ? BST_PUSHED : 0) |
                                  (st->focused ? BST_FOCUS : 0));
    case BM_SETSTATE:
      if (st->pushed != (wparam != 0)) {
        st->pushed = wparam != 0;
        Redraw(button);
      }
      return 0;
    case BM_SETSTYLE: {
      const DWORD style = (StyleOf(button) & ~BS_TYPEMASK) | (wparam & BS_TYPEMASK);
      SetWindowLong(button, GWL_STYLE, static_cast<LONG_PTR>(style));
      if (lparam) Redraw(button);
      return 0;
    }
    case BM_CLICK:
      if (group || !IsWindowEnabled(button)) return 0;
      if (GetFocus() != button) SetFocus(button);
      if (IsWindow(button)) Click(button);
      return 0;
    default:
      return DefWindowProc(button, message, wparam, lparam);
  }
}

}  // namespace

void RegisterButtonClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &ButtonProc;
  wc.lpszClassName = kButtonClass;
  RegisterClass(&wc);
}

}  // namespace ce

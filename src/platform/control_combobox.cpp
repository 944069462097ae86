// The COMBOBOX class: a field (static for CBS_DROPDOWNLIST, an edit child for CBS_DROPDOWN)
// with a button that drops a list down. The list is a ComboLBox pop-up that exists hidden for
// the combo box's whole life and holds the items; CB_* messages are passed to it as LB_*.
//
// While the list is open nothing is committed: the pen or the arrow keys only move its
// highlight. A tap on an item (or Enter) chooses: CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP. A tap
// elsewhere (or Esc, or the focus leaving) closes it with the selection it had when it opened:
// CBN_SELENDCANCEL, CBN_CLOSEUP.
#include <algorithm>
#include <string>

#include "platform/controls_internal.h"
#include "platform/text.h"

namespace ce {
namespace {

constexpr int kEditId = 1001;

struct ComboState {
  HWND list = nullptr;
  HWND edit = nullptr;  // CBS_DROPDOWN only
  HFONT font = nullptr;
  int32_t field_height = 19;
  int32_t drop_height = 0;  // the height asked at creation: the field and the open list
  bool dropped = false;
  bool focused = false;
  int32_t selection_at_open = -1;
};

ControlStates<ComboState>& States() {
  static ControlStates<ComboState> states;
  return states;
}

bool IsDropDownList(HWND combo) {
  return (StyleOf(combo) & 0x3) == CBS_DROPDOWNLIST;
}

void Redraw(HWND combo) {
  InvalidateRect(combo, nullptr, TRUE);
}

LRESULT ToList(const ComboState& st, UINT message, WPARAM wparam, LPARAM lparam) {
  return st.list != nullptr ? SendMessage(st.list, message, wparam, lparam) : CB_ERR;
}

int32_t Selection(const ComboState& st) {
  return static_cast<int32_t>(ToList(st, LB_GETCURSEL, 0, 0));
}

std::u16string ItemText(const ComboState& st, int32_t index) {
  const LRESULT length = ToList(st, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  ToList(st, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

RECT ButtonRect(HWND combo) {
  RECT client;
  GetClientRect(combo, &client);
  const int32_t width = std::min(client.Width() / 2, std::max<int32_t>(13, client.Height() - 2));
  return {client.right - width, client.top, client.right, client.bottom};
}

// The field shows the selection; an edit field takes its text, all of it selected.
void UpdateField(HWND combo, ComboState& st) {
  if (st.edit != nullptr) {
    const int32_t selection = Selection(st);
    const std::u16string text = selection >= 0 ? ItemText(st, selection) : std::u16string();
    SetWindowText(st.edit, text.c_str());
    SendMessage(st.edit, EM_SETSEL, 0, -1);
  }
  Redraw(combo);
}

void PlaceParts(HWND combo, ComboState& st) {
  RECT client;
  GetClientRect(combo, &client);
  if (client.Height() != st.field_height) {
    SetWindowPos(combo, nullptr, 0, 0, client.Width(), st.field_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (st.edit != nullptr) {
    const RECT button = ButtonRect(combo);
    MoveWindow(st.edit, 1, 1, std::max(0, button.left - 1), std::max(0, st.field_height - 2), TRUE);
  }
}

void HideList(HWND combo, ComboState& st) {
  st.dropped = false;
  SetWindowPos(st.list, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (GetCapture() == st.list) ReleaseCapture();
  Redraw(combo);
}

void Open(HWND combo, ComboState& st) {
  if (st.dropped || st.list == nullptr) return;
  NotifyParent(combo, CBN_DROPDOWN);  // a parent may fill the list now
  if (!IsWindow(combo) || st.dropped) return;
  const int32_t item = CellHeightOf(FontOrDefault(st.font));
  const int32_t count = static_cast<int32_t>(ToList(st, LB_GETCOUNT, 0, 0));
  const int32_t room_rows = std::max(1, (st.drop_height - st.field_height - 2) / item);
  const int32_t height = std::clamp(count, 1, room_rows) * item + 2;
  RECT field;
  GetWindowRect(combo, &field);
  // Under the field, or above it when the list would leave the screen area.
  int32_t y = field.bottom;
  if (y + height > kScreenHeight) {
    y = field.top - height >= 0 ? field.top - height : std::max(0, kScreenHeight - height);
  }
  st.selection_at_open = Selection(st);
  SetWindowPos(st.list, HWND_TOP, field.left, y, field.Width(), height,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (st.selection_at_open >= 0) {
    ToList(st, LB_SETCURSEL, static_cast<WPARAM>(st.selection_at_open), 0);
  }
  st.dropped = true;
  SetCapture(st.list);
  Redraw(combo);
}

void Choose(HWND combo, ComboState& st, int32_t index) {
  if (!st.dropped) return;
  if (index < 0) index = st.selection_at_open;
  ToList(st, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  HideList(combo, st);
  UpdateField(combo, st);
  NotifyParent(combo, CBN_SELCHANGE);
  if (IsWindow(combo)) NotifyParent(combo, CBN_SELENDOK);
  if (IsWindow(combo)) NotifyParent(combo, CBN_CLOSEUP);
}

void Cancel(HWND combo, ComboState& st) {
  if (!st.dropped) return;
  ToList(st, LB_SETCURSEL, static_cast<WPARAM>(st.selection_at_open), 0);
  HideList(combo, st);
  NotifyParent(combo, CBN_SELENDCANCEL);
  if (IsWindow(combo)) NotifyParent(combo, CBN_CLOSEUP);
}

// A new selection made on the closed combo box by the keyboard.
void Step(HWND combo, ComboState& st, int32_t index) {
  const int32_t count = static_cast<int32_t>(ToList(st, LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  index = std::clamp(index, 0, count - 1);
  if (index == Selection(st)) return;
  ToList(st, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  UpdateField(combo, st);
  NotifyParent(combo, CBN_SELCHANGE);
}

void KeyDown(HWND combo, ComboState& st, WPARAM key) {
  if (key == VK_F4) {
    st.dropped ? Cancel(combo, st) : Open(combo, st);
    return;
  }
  if (st.dropped) {
    if (key == VK_RETURN) {
      Choose(combo, st, Selection(st));
    } else if (key == VK_ESCAPE) {
      Cancel(combo, st);
    } else {
      ToList(st, WM_KEYDOWN, key, 0);  // moves the highlight only
    }
    return;
  }
  const int32_t selection = Selection(st);
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      if (st.edit == nullptr || key == VK_UP) Step(combo, st, selection < 0 ? 0 : selection - 1);
      return;
    case VK_DOWN:
    case VK_RIGHT:
      if (st.edit == nullptr || key == VK_DOWN) Step(combo, st, selection + 1);
      return;
    case VK_HOME:
      if (st.edit == nullptr) Step(combo, st, 0);
      return;
    case VK_END:
      if (st.edit == nullptr)
        Step(combo, st, static_cast<int32_t>(ToList(st, LB_GETCOUNT, 0, 0)) - 1);
      return;
    default:
      return;
  }
}

void Paint(HWND combo, const ComboState& st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(combo, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(combo, &client);
  SelectObject(dc, FontOrDefault(st.font));
  const bool enabled = IsWindowEnabled(combo) != FALSE;
  HBRUSH brush = AskParentForColours(combo, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  const RECT button = ButtonRect(combo);
  const RECT field{client.left, client.top, button.left, client.bottom};
  FillBackground(dc, field, brush, kWindowFace);
  if (!enabled) SetTextColor(dc, kGrayText);
  if (st.edit == nullptr) {
    const int32_t selection = Selection(st);
    const std::u16string text = selection >= 0 ? ItemText(st, selection) : std::u16string();
    RECT text_rect{field.left + 2, field.top + 2, field.right - 1, field.bottom - 2};
    if (st.focused && !st.dropped) {
      FillSolidRect(dc, text_rect, kHighlight);
      SetTextColor(dc, kHighlightText);
    }
    RECT inside{text_rect.left + 1, client.top, text_rect.right, client.bottom};
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &inside,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  FillSolidRect(dc, button, kButtonFace);
  DrawBevel(dc, {button.left + 1, button.top + 1, button.right - 1, button.bottom - 1}, st.dropped);
  DrawVerticalLine(dc, button.left, button.top, button.Height(), kInk);
  DrawArrow(dc, button, false, enabled ? kInk : kGrayText);
  DrawOutline(dc, client, kInk);
  EndPaint(combo, &ps);
}

LRESULT Create(HWND combo, const CREATESTRUCT* cs) {
  auto st = States().Create(combo);
  st->drop_height = cs != nullptr ? cs->cy : 0;
  st->field_height = CellHeightOf(FontOrDefault(nullptr)) + 6;
  const DWORD style = StyleOf(combo);
  const DWORD list_style = WS_POPUP | WS_BORDER | WS_VSCROLL | ((style & CBS_SORT) ? LBS_SORT : 0);
  st->list = CreateWindowEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kComboListClass, u"", list_style, 0,
                            0, cs != nullptr ? cs->cx : 0, st->field_height, combo, nullptr,
                            GetModuleHandle(nullptr), combo);
  if (st->list == nullptr) return -1;
  if (!IsDropDownList(combo)) {
    st->edit = CreateWindowEx(0, kEditClass, cs != nullptr ? cs->lpszName : u"",
                              WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 1, 1, 10, 10, combo,
                              reinterpret_cast<HMENU>(static_cast<uintptr_t>(kEditId)),
                              GetModuleHandle(nullptr), nullptr);
    if (st->edit == nullptr) return -1;
  }
  PlaceParts(combo, *st);
  return 0;
}

// What the edit field reports, told on as the combo box's own notifications.
void EditNotification(HWND combo, ComboState& st, WORD code) {
  switch (code) {
    case EN_CHANGE:
      NotifyParent(combo, CBN_EDITCHANGE);
      break;
    case EN_UPDATE:
      NotifyParent(combo, CBN_EDITUPDATE);
      break;
    case EN_SETFOCUS:
      if (!st.focused) {
        st.focused = true;
        NotifyParent(combo, CBN_SETFOCUS);
      }
      break;
    case EN_KILLFOCUS: {
      HWND focus = GetFocus();
      if (focus == combo || focus == st.edit) break;
      st.focused = false;
      Cancel(combo, st);
      if (IsWindow(combo)) NotifyParent(combo, CBN_KILLFOCUS);
      break;
    }
    default:
      break;
  }
}

LRESULT ComboProc(HWND combo, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return Create(combo, reinterpret_cast<const CREATESTRUCT*>(lparam));
  std::shared_ptr<ComboState> st = States().Get(combo);
  if (st == nullptr) return DefWindowProc(combo, message, wparam, lparam);
  switch (message) {
    case WM_DESTROY:
      if (st->list != nullptr && IsWindow(st->list)) DestroyWindow(st->list);
      States().Erase(combo);
      return 0;
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wparam);
      st->field_height = CellHeightOf(FontOrDefault(st->font)) + 6;
      ToList(*st, WM_SETFONT, wparam, FALSE);
      if (st->edit != nullptr) SendMessage(st->edit, WM_SETFONT, wparam, FALSE);
      PlaceParts(combo, *st);
      if (lparam) Redraw(combo);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st->font);
    case WM_SIZE:
      // A new height given by the program is the room for the open list, as at creation.
      if (HIWORD(lparam) != st->field_height) st->drop_height = HIWORD(lparam);
      PlaceParts(combo, *st);
      return 0;
    case WM_ENABLE:
      if (st->edit != nullptr) EnableWindow(st->edit, wparam != 0 ? TRUE : FALSE);
      if (wparam == 0) Cancel(combo, *st);
      Redraw(combo);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      if (st->dropped && msg != nullptr && msg->message == WM_KEYDOWN &&
          (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        code |= DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(combo, *st);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
      // The parts ask the combo box's parent, as the combo box itself does.
      HWND parent = GetParent(combo);
      return parent != nullptr ? SendMessage(parent, message, wparam, lparam) : 0;
    }
    case WM_SETFOCUS:
      if (st->edit != nullptr) {
        SetFocus(st->edit);
        return 0;
      }
      st->focused = true;
      Redraw(combo);
      DialogControlFocused(combo);
      NotifyParent(combo, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (st->edit != nullptr) return 0;  // the edit field reports for the combo box
      st->focused = false;
      Cancel(combo, *st);
      Redraw(combo);
      if (IsWindow(combo)) NotifyParent(combo, CBN_KILLFOCUS);
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lparam) == st->edit && st->edit != nullptr) {
        EditNotification(combo, *st, HIWORD(wparam));
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(combo)) return 0;
      HWND want = st->edit != nullptr ? st->edit : combo;
      if (GetFocus() != want) SetFocus(want);
      if (States().Get(combo) == nullptr) return 0;
      const RECT button = ButtonRect(combo);
      const bool on_button = button.Contains(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      if (st->edit != nullptr && !on_button) return 0;
      st->dropped ? Cancel(combo, *st) : Open(combo, *st);
      return 0;
    }
    case WM_KEYDOWN:
      KeyDown(combo, *st, wparam);
      return 0;
    case WM_CHAR: {
      if (st->edit != nullptr) return SendMessage(st->edit, WM_CHAR, wparam, lparam);
      const auto ch = static_cast<char16_t>(wparam);
      if (ch < 0x20) return 0;
      const char16_t text[2] = {ch, 0};
      const LRESULT found = ToList(*st, LB_FINDSTRING, static_cast<WPARAM>(Selection(*st)),
                                   reinterpret_cast<LPARAM>(text));
      if (found == LB_ERR) return 0;
      if (st->dropped) {
        ToList(*st, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      } else {
        Step(combo, *st, static_cast<int32_t>(found));
      }
      return 0;
    }
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const char16_t*>(lparam);
      if (st->edit != nullptr) return SetWindowText(st->edit, text);
      const LRESULT found = ToList(*st, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lparam);
      if (found == LB_ERR || text == nullptr) return CB_ERR;
      ToList(*st, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      Redraw(combo);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (st->edit != nullptr) return SendMessage(st->edit, message, wparam, lparam);
      const int32_t selection = Selection(*st);
      const std::u16string text = selection >= 0 ? ItemText(*st, selection) : std::u16string();
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      const auto size = static_cast<size_t>(wparam);
      if (size == 0 || lparam == 0) return 0;
      const size_t n = WholeCharacters(text, size - 1);
      auto* out = reinterpret_cast<char16_t*>(lparam);
      std::copy_n(text.data(), n, out);
      out[n] = u'\0';
      return static_cast<LRESULT>(n);
    }
    case CB_ADDSTRING:
      return ToList(*st, LB_ADDSTRING, wparam, lparam);
    case CB_INSERTSTRING:
      return ToList(*st, LB_INSERTSTRING, wparam, lparam);
    case CB_DELETESTRING: {
      const LRESULT left = ToList(*st, LB_DELETESTRING, wparam, lparam);
      Redraw(combo);
      return left;
    }
    case CB_RESETCONTENT:
      ToList(*st, LB_RESETCONTENT, 0, 0);
      if (st->edit != nullptr) SetWindowText(st->edit, u"");
      Redraw(combo);
      return 0;
    case CB_SETCURSEL: {
      const LRESULT result = ToList(*st, LB_SETCURSEL, wparam, 0);
      if (st->dropped) st->selection_at_open = Selection(*st);
      UpdateField(combo, *st);
      return result;
    }
    case CB_GETCURSEL:
      return Selection(*st);
    case CB_GETLBTEXT:
      return ToList(*st, LB_GETTEXT, wparam, lparam);
    case CB_GETLBTEXTLEN:
      return ToList(*st, LB_GETTEXTLEN, wparam, lparam);
    case CB_GETCOUNT:
      return ToList(*st, LB_GETCOUNT, 0, 0);
    case CB_FINDSTRING:
      return ToList(*st, LB_FINDSTRING, wparam, lparam);
    case CB_FINDSTRINGEXACT:
      return ToList(*st, LB_FINDSTRINGEXACT, wparam, lparam);
    case CB_GETITEMDATA:
      return ToList(*st, LB_GETITEMDATA, wparam, lparam);
    case CB_SETITEMDATA:
      return ToList(*st, LB_SETITEMDATA, wparam, lparam);
    case CB_SHOWDROPDOWN:
      wparam != 0 ? Open(combo, *st) : Cancel(combo, *st);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return st->dropped ? TRUE : FALSE;
    case CB_LIMITTEXT:
      if (st->edit == nullptr) return CB_ERR;
      SendMessage(st->edit, EM_LIMITTEXT, wparam, 0);
      return TRUE;
    case CB_GETEDITSEL:
      if (st->edit == nullptr) return CB_ERR;
      return SendMessage(st->edit, EM_GETSEL, wparam, lparam);
    default:
      return DefWindowProc(combo, message, wparam, lparam);
  }
}

}  // namespace

void ComboListChosen(HWND combo, int index) {
  if (auto st = States().Get(combo)) Choose(combo, *st, index);
}

void ComboListCancelled(HWND combo) {
  if (auto st = States().Get(combo)) Cancel(combo, *st);
}

void RegisterComboBoxClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &ComboProc;
  wc.lpszClassName = kComboBoxClass;
  RegisterClass(&wc);
}

}  // namespace ce

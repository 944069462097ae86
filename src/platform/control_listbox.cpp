// The LISTBOX class (single selection, LBS_NOTIFY, LBS_SORT, a vertical scroll bar inside the
// client area) and ComboLBox, the same list as the drop-down part of a combo box.
//
// Only the user's doing is reported: a tap or a key that selects sends LBN_SELCHANGE (with
// LBS_NOTIFY); LB_SETCURSEL never does. A tap on an item reports even when the item was already
// selected, as on the handheld, so a screen may treat a tap as a choice.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls_internal.h"

namespace ce {
namespace {

constexpr int32_t kScrollBarWidth = 12;

struct Item {
  std::u16string text;
  LPARAM data = 0;
};

enum class Drag { kNone, kItems, kThumb };

struct ListState {
  std::vector<Item> items;
  int32_t selection = -1;
  int32_t top = 0;
  HFONT font = nullptr;
  int32_t item_height = 13;
  bool focused = false;
  Drag drag = Drag::kNone;
  int32_t thumb_grab = 0;  // where in the thumb the pen holds it
  bool double_tap = false;
  HWND combo = nullptr;  // set for the drop-down list of a combo box
};

ControlStates<ListState>& States() {
  static ControlStates<ListState> states;
  return states;
}

int32_t Count(const ListState& st) {
  return static_cast<int32_t>(st.items.size());
}

// The parts of the client area.
struct Geometry {
  RECT inner;           // inside the border
  RECT items;           // where the rows are drawn
  RECT bar;             // the scroll bar; empty when none is shown
  int32_t visible = 1;  // whole rows that fit
};

Geometry GeometryOf(HWND list, const ListState& st) {
  Geometry g;
  RECT client;
  GetClientRect(list, &client);
  const int32_t border = (StyleOf(list) & WS_BORDER) ? 1 : 0;
  g.inner = {client.left + border, client.top + border, client.right - border,
             client.bottom - border};
  g.visible = std::max(1, g.inner.Height() / std::max(1, st.item_height));
  g.items = g.inner;
  if ((StyleOf(list) & WS_VSCROLL) && Count(st) > g.visible && g.inner.Width() > kScrollBarWidth) {
    g.bar = {g.inner.right - kScrollBarWidth, g.inner.top, g.inner.right, g.inner.bottom};
    g.items.right = g.bar.left;
  }
  return g;
}

int32_t MaxTop(const ListState& st, const Geometry& g) {
  return std::max(0, Count(st) - g.visible);
}

// The scroll bar's arrows and thumb.
struct BarParts {
  RECT up, down, track, thumb;
};

BarParts PartsOf(const Geometry& g, const ListState& st) {
  BarParts p;
  const RECT& b = g.bar;
  const int32_t arrow = std::min(kScrollBarWidth, b.Height() / 3);
  p.up = {b.left, b.top, b.right, b.top + arrow};
  p.down = {b.left, b.bottom - arrow, b.right, b.bottom};
  p.track = {b.left, p.up.bottom, b.right, p.down.top};
  const int32_t count = std::max(1, Count(st));
  const int32_t track = p.track.Height();
  const int32_t thumb = std::clamp(track * g.visible / count, std::min(8, track), track);
  const int32_t max_top = MaxTop(st, g);
  const int32_t offset = max_top > 0 ? (track - thumb) * st.top / max_top : 0;
  p.thumb = {b.left, p.track.top + offset, b.right, p.track.top + offset + thumb};
  return p;
}

void Redraw(HWND list) {
  InvalidateRect(list, nullptr, TRUE);
}

void SetTop(HWND list, ListState& st, int32_t top) {
  const Geometry g = GeometryOf(list, st);
  top = std::clamp(top, 0, MaxTop(st, g));
  if (top != st.top) {
    st.top = top;
    Redraw(list);
  }
}

void ShowItem(HWND list, ListState& st, int32_t index) {
  if (index < 0) return;
  const Geometry g = GeometryOf(list, st);
  if (index < st.top) {
    SetTop(list, st, index);
  } else if (index >= st.top + g.visible) {
    SetTop(list, st, index - g.visible + 1);
  }
}

void Select(HWND list, ListState& st, int32_t index) {
  if (index != st.selection) {
    st.selection = index;
    Redraw(list);
  }
  ShowItem(list, st, index);
}

bool Notifies(HWND list) {
  return (StyleOf(list) & LBS_NOTIFY) != 0;
}

// The row under a point of the client area, or -1.
int32_t RowAt(HWND list, const ListState& st, POINT p) {
  const Geometry g = GeometryOf(list, st);
  if (!g.items.Contains(p.x, p.y)) return -1;
  const int32_t row = st.top + (p.y - g.items.top) / std::max(1, st.item_height);
  return row < Count(st) ? row : -1;
}

// A tap on the scroll bar: arrows step by a row, the track by a page, the thumb is dragged.
bool TapScrollBar(HWND list, ListState& st, POINT p) {
  const Geometry g = GeometryOf(list, st);
  if (g.bar.Empty() || !g.bar.Contains(p.x, p.y)) return false;
  const BarParts parts = PartsOf(g, st);
  if (parts.up.Contains(p.x, p.y)) {
    SetTop(list, st, st.top - 1);
  } else if (parts.down.Contains(p.x, p.y)) {
    SetTop(list, st, st.top + 1);
  } else if (p.y < parts.thumb.top) {
    SetTop(list, st, st.top - g.visible);
  } else if (p.y >= parts.thumb.bottom) {
    SetTop(list, st, st.top + g.visible);
  } else {
    st.drag = Drag::kThumb;
    st.thumb_grab = p.y - parts.thumb.top;
    if (st.combo == nullptr) SetCapture(list);
  }
  return true;
}

void DragThumb(HWND list, ListState& st, int32_t y) {
  const Geometry g = GeometryOf(list, st);
  const BarParts parts = PartsOf(g, st);
  const int32_t room = parts.track.Height() - parts.thumb.Height();
  if (room <= 0) return;
  const int32_t offset = std::clamp(y - st.thumb_grab - parts.track.top, 0, room);
  SetTop(list, st, (offset * MaxTop(st, g) + room / 2) / room);
}

LRESULT Insert(HWND list, ListState& st, int32_t index, const char16_t* text) {
  if (index < 0 || index > Count(st)) return LB_ERR;
  st.items.insert(st.items.begin() + index, Item{text != nullptr ? text : u"", 0});
  if (st.selection >= index) ++st.selection;
  Redraw(list);
  return index;
}

LRESULT Find(const ListState& st, WPARAM start_param, const char16_t* text, bool exact) {
  const int32_t count = Count(st);
  if (count == 0 || text == nullptr) return LB_ERR;
  const std::u16string_view wanted(text);
  int32_t start = static_cast<int32_t>(start_param);
  if (start < 0 || start >= count) start = -1;
  for (int32_t step = 1; step <= count; ++step) {
    const int32_t i = (start + step) % count;
    const std::u16string_view item(st.items[static_cast<size_t>(i)].text);
    const bool match = exact ? CompareFolded(item, wanted) == 0
                             : item.size() >= wanted.size() &&
                                   CompareFolded(item.substr(0, wanted.size()), wanted) == 0;
    if (match) return i;
  }
  return LB_ERR;
}

void PaintScrollBar(HDC dc, const Geometry& g, const ListState& st) {
  const BarParts p = PartsOf(g, st);
  FillSolidRect(dc, p.track, RGB(224, 224, 224));
  DrawVerticalLine(dc, g.bar.left, g.bar.top, g.bar.Height(), kInk);
  for (const RECT* box : {&p.up, &p.down, &p.thumb}) {
    FillSolidRect(dc, *box, kButtonFace);
    DrawOutline(dc, *box, kInk);
    DrawBevel(dc, {box->left + 1, box->top + 1, box->right - 1, box->bottom - 1}, false);
  }
  DrawArrow(dc, p.up, true, kInk);
  DrawArrow(dc, p.down, false, kInk);
}

void Paint(HWND list, const ListState& st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(list, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(list, &client);
  SelectObject(dc, FontOrDefault(st.font));
  HBRUSH brush = AskParentForColours(list, dc, WM_CTLCOLORLISTBOX, st.combo);
  FillBackground(dc, client, brush, kWindowFace);
  if (StyleOf(list) & WS_BORDER) DrawOutline(dc, client, kInk);
  if (!IsWindowEnabled(list)) SetTextColor(dc, kGrayText);
  const COLORREF text_colour = GetTextColor(dc);
  const Geometry g = GeometryOf(list, st);
  for (int32_t i = st.top; i < Count(st); ++i) {
    const int32_t y = g.items.top + (i - st.top) * st.item_height;
    if (y >= g.items.bottom) break;
    RECT row{g.items.left, y, g.items.right, std::min(y + st.item_height, g.items.bottom)};
    const bool selected = i == st.selection;
    if (selected) {
      FillSolidRect(dc, row, kHighlight);
      SetTextColor(dc, kHighlightText);
    }
    const std::u16string& text = st.items[static_cast<size_t>(i)].text;
    RECT text_rect{row.left + 2, y, row.right, y + st.item_height};
    text_rect = Intersect(text_rect, g.items);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
             DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    if (selected) SetTextColor(dc, text_colour);
    if (selected && st.focused) DrawFocusMark(dc, row, kHighlightText);
    // Focused with nothing chosen, the list marks the line that a key would choose first.
    if (st.focused && st.selection < 0 && i == st.top) DrawFocusMark(dc, row, text_colour);
  }
  // An empty list marks its whole inside, so that the keyboard's place is never invisible.
  if (st.focused && Count(st) == 0 && !g.items.Empty()) DrawFocusMark(dc, g.items, text_colour);
  if (!g.bar.Empty()) PaintScrollBar(dc, g, st);
  EndPaint(list, &ps);
}

// A key that moves the selection; reports it when it moved.
void KeyDown(HWND list, ListState& st, WPARAM key) {
  const Geometry g = GeometryOf(list, st);
  const int32_t count = Count(st);
  if (count == 0) return;
  int32_t target = st.selection;
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      target = st.selection < 0 ? 0 : st.selection - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      target = st.selection + 1;
      break;
    case VK_PRIOR:
      target = std::max(0, st.selection) - (g.visible - 1);
      break;
    case VK_NEXT:
      target = std::max(0, st.selection) + (g.visible - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = count - 1;
      break;
    default:
      return;
  }
  target = std::clamp(target, 0, count - 1);
  if (target == st.selection) return;
  Select(list, st, target);
  if (Notifies(list)) NotifyParent(list, LBN_SELCHANGE);
}

// Typing a letter selects the next item that starts with it.
void TypeAhead(HWND list, ListState& st, char16_t ch) {
  if (ch < 0x20) return;
  const char16_t text[2] = {ch, 0};
  const LRESULT found = Find(st, static_cast<WPARAM>(st.selection), text, false);
  if (found == LB_ERR || found == st.selection) return;
  Select(list, st, static_cast<int32_t>(found));
  if (Notifies(list)) NotifyParent(list, LBN_SELCHANGE);
}

POINT PointOf(LPARAM lparam) {
  return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

// The drop-down list holds the capture while open: a tap outside it closes it, a tap on an
// item chooses it. Dragging from the combo box onto an item and lifting chooses it too.
LRESULT DropDownMouse(HWND list, ListState& st, UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT p = PointOf(lparam);
  RECT client;
  GetClientRect(list, &client);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!client.Contains(p.x, p.y)) {
        ComboListCancelled(st.combo);
        return 0;
      }
      if (TapScrollBar(list, st, p)) return 0;
      const int32_t row = RowAt(list, st, p);
      if (row >= 0) Select(list, st, row);
      st.drag = Drag::kItems;
      return 0;
    }
    case WM_MOUSEMOVE:
      if (st.drag == Drag::kThumb) {
        DragThumb(list, st, p.y);
      } else if ((wparam & MK_LBUTTON) && RowAt(list, st, p) >= 0) {
        st.drag = Drag::kItems;
        Select(list, st, RowAt(list, st, p));
      }
      return 0;
    case WM_LBUTTONUP: {
      const Drag drag = st.drag;
      st.drag = Drag::kNone;
      const int32_t row = RowAt(list, st, p);
      if (drag == Drag::kItems && row >= 0) {
        Select(list, st, row);
        ComboListChosen(st.combo, row);
      }
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT Mouse(HWND list, ListState& st, UINT message, WPARAM wparam, LPARAM lparam) {
  if (st.combo != nullptr) return DropDownMouse(list, st, message, wparam, lparam);
  const POINT p = PointOf(lparam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(list)) return 0;
      if (GetFocus() != list) SetFocus(list);
      if (States().Get(list) == nullptr) return 0;
      if (TapScrollBar(list, st, p)) return 0;
      const int32_t row = RowAt(list, st, p);
      if (row < 0) return 0;
      Select(list, st, row);
      st.drag = Drag::kItems;
      st.double_tap = message == WM_LBUTTONDBLCLK;
      SetCapture(list);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (st.drag == Drag::kThumb) {
        DragThumb(list, st, p.y);
      } else if (st.drag == Drag::kItems) {
        const Geometry g = GeometryOf(list, st);
        const int32_t y = std::clamp(p.y, g.items.top, g.items.bottom - 1);
        const int32_t row = RowAt(list, st, {std::clamp(p.x, g.items.left, g.items.right - 1), y});
        if (row >= 0) Select(list, st, row);
      }
      return 0;
    case WM_LBUTTONUP: {
      const Drag drag = st.drag;
      const bool double_tap = st.double_tap;
      st.drag = Drag::kNone;
      st.double_tap = false;
      if (GetCapture() == list) ReleaseCapture();
      if (drag == Drag::kItems && Notifies(list) && !st.items.empty()) {
        NotifyParent(list, LBN_SELCHANGE);
        if (double_tap && IsWindow(list)) NotifyParent(list, LBN_DBLCLK);
      }
      return 0;
    }
    default:
      return 0;
  }
}

void UpdateItemHeight(HWND list, ListState& st) {
  st.item_height = CellHeightOf(FontOrDefault(st.font));
  SetTop(list, st, st.top);
}

LRESULT ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) {
    auto st = States().Create(list);
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lparam);
    if (GetClassName(list) == kComboListClass && cs != nullptr) {
      st->combo = static_cast<HWND>(cs->lpCreateParams);
    }
    UpdateItemHeight(list, *st);
    return 0;
  }
  std::shared_ptr<ListState> st = States().Get(list);
  if (st == nullptr) return DefWindowProc(list, message, wparam, lparam);
  const auto index = static_cast<int32_t>(wparam);
  const bool valid = index >= 0 && index < Count(*st);
  switch (message) {
    case WM_DESTROY:
      States().Erase(list);
      return 0;
    case WM_SETFONT:
      st->font = reinterpret_cast<HFONT>(wparam);
      UpdateItemHeight(list, *st);
      if (lparam) Redraw(list);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(st->font);
    case WM_SIZE:
      SetTop(list, *st, st->top);
      Redraw(list);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(list, *st);
      return 0;
    case WM_SETFOCUS:
      st->focused = true;
      Redraw(list);
      DialogControlFocused(list);
      if (Notifies(list)) NotifyParent(list, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      st->focused = false;
      Redraw(list);
      if (Notifies(list)) NotifyParent(list, LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return Mouse(list, *st, message, wparam, lparam);
    case WM_CAPTURECHANGED:
      st->drag = Drag::kNone;
      if (st->combo != nullptr) ComboListCancelled(st->combo);
      return 0;
    case WM_KEYDOWN:
      KeyDown(list, *st, wparam);
      return 0;
    case WM_CHAR:
      TypeAhead(list, *st, static_cast<char16_t>(wparam));
      return 0;
    case LB_ADDSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lparam);
      int32_t at = Count(*st);
      if (StyleOf(list) & LBS_SORT) {
        const std::u16string_view wanted(text != nullptr ? text : u"");
        at = static_cast<int32_t>(std::upper_bound(st->items.begin(), st->items.end(), wanted,
                                                   [](std::u16string_view w, const Item& item) {
                                                     return CompareFolded(w, item.text) < 0;
                                                   }) -
                                  st->items.begin());
      }
      return Insert(list, *st, at, text);
    }
    case LB_INSERTSTRING:
      return Insert(list, *st, index == -1 ? Count(*st) : index,
                    reinterpret_cast<const char16_t*>(lparam));
    case LB_DELETESTRING:
      if (!valid) return LB_ERR;
      st->items.erase(st->items.begin() + index);
      if (st->selection == index) {
        st->selection = -1;
      } else if (st->selection > index) {
        --st->selection;
      }
      SetTop(list, *st, st->top);
      Redraw(list);
      return Count(*st);
    case LB_RESETCONTENT:
      st->items.clear();
      st->selection = -1;
      st->top = 0;
      Redraw(list);
      return 0;
    case LB_SETCURSEL:
      if (index == -1) {
        Select(list, *st, -1);
        return LB_ERR;
      }
      if (!valid) return LB_ERR;
      Select(list, *st, index);
      return index;
    case LB_GETCURSEL:
      return st->selection >= 0 ? st->selection : LB_ERR;
    case LB_SETSEL: {
      // One selection at most: selecting an item moves it there, unselecting clears it.
      const auto item = static_cast<int32_t>(lparam);
      if (wparam != 0) {
        if (item < 0 || item >= Count(*st)) return LB_ERR;
        Select(list, *st, item);
      } else {
        if (item < -1 || item >= Count(*st)) return LB_ERR;
        if (item == -1 || item == st->selection) Select(list, *st, -1);
      }
      return 0;
    }
    case LB_GETSEL:
      if (!valid) return LB_ERR;
      return index == st->selection ? 1 : 0;
    case LB_GETTEXT: {
      if (!valid || lparam == 0) return LB_ERR;
      const std::u16string& text = st->items[static_cast<size_t>(index)].text;
      auto* out = reinterpret_cast<char16_t*>(lparam);
      std::copy(text.begin(), text.end(), out);
      out[text.size()] = u'\0';
      return static_cast<LRESULT>(text.size());
    }
    case LB_GETTEXTLEN:
      return valid ? static_cast<LRESULT>(st->items[static_cast<size_t>(index)].text.size())
                   : LB_ERR;
    case LB_GETCOUNT:
      return Count(*st);
    case LB_GETTOPINDEX:
      return st->top;
    case LB_GETITEMHEIGHT:
      return st->item_height;
    case LB_SETTOPINDEX:
      if (!valid && !(index == 0 && st->items.empty())) return LB_ERR;
      SetTop(list, *st, index);
      return 0;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return Find(*st, wparam, reinterpret_cast<const char16_t*>(lparam),
                  message == LB_FINDSTRINGEXACT);
    case LB_GETITEMDATA:
      return valid ? st->items[static_cast<size_t>(index)].data : LB_ERR;
    case LB_SETITEMDATA:
      if (!valid) return LB_ERR;
      st->items[static_cast<size_t>(index)].data = lparam;
      return 0;
    default:
      return DefWindowProc(list, message, wparam, lparam);
  }
}

}  // namespace

void RegisterListBoxClasses() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &ListProc;
  wc.lpszClassName = kListBoxClass;
  RegisterClass(&wc);
  wc.lpszClassName = kComboListClass;
  RegisterClass(&wc);
}

}  // namespace ce

// What the dialog manager, the standard controls and the message box share: the class names,
// the colours and strokes of the controls' own drawing, the per-window state store, and the
// few calls the controls make into the dialog manager.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/window.h"

namespace ce {

namespace internal {
// Registers the dialog class and every standard control's class. The window system calls it
// when it starts; calling it again is harmless (a class whose name is taken stays as it is).
void RegisterStandardControls();
}  // namespace internal

inline constexpr const char16_t* kDialogClass = u"#32770";
inline constexpr const char16_t* kStaticClass = u"Static";
inline constexpr const char16_t* kButtonClass = u"Button";
inline constexpr const char16_t* kEditClass = u"Edit";
inline constexpr const char16_t* kListBoxClass = u"ListBox";
inline constexpr const char16_t* kComboBoxClass = u"ComboBox";
// The drop-down part of a combo box: a pop-up list box that reports to its combo box.
inline constexpr const char16_t* kComboListClass = u"ComboLBox";

void RegisterStaticClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterListBoxClasses();  // LISTBOX and ComboLBox
void RegisterComboBoxClass();

// Colours of the controls' own drawing: flat faces, 1-pixel dark ink outlines, and a bevel lit
// from the upper left, as in the program's artwork.
inline constexpr COLORREF kInk = RGB(0, 24, 66);
inline constexpr COLORREF kText = RGB(0, 0, 0);
inline constexpr COLORREF kGrayText = RGB(128, 128, 128);
inline constexpr COLORREF kButtonFace = RGB(192, 192, 192);
inline constexpr COLORREF kBevelLight = RGB(255, 255, 255);
inline constexpr COLORREF kBevelShadow = RGB(128, 128, 128);
inline constexpr COLORREF kWindowFace = RGB(255, 255, 255);  // edits, list boxes, dialogs
inline constexpr COLORREF kHighlight = RGB(0, 0, 255);
inline constexpr COLORREF kHighlightText = RGB(255, 255, 255);

// Per-window state of one kind of control, made on WM_CREATE and dropped on WM_DESTROY.
// Handles are never reused, so a late message for a destroyed control finds nothing. The
// state is shared so that a handler can keep it alive while the parent, answering a
// notification, destroys the control under it.
template <class T>
class ControlStates {
 public:
  std::shared_ptr<T> Create(HWND window) {
    auto state = std::make_shared<T>();
    states_[window] = state;
    return state;
  }
  std::shared_ptr<T> Get(HWND window) const {
    auto it = states_.find(window);
    return it == states_.end() ? nullptr : it->second;
  }
  void Erase(HWND window) { states_.erase(window); }

 private:
  std::unordered_map<HWND, std::shared_ptr<T>> states_;
};

// The dialog manager's side of focus: a control that takes the focus tells its dialog, which
// remembers it (for the return of activation) and lets the default push button follow it.
void DialogControlFocused(HWND control);
// The controls of `control`'s group in its parent: from the WS_GROUP control at or before it
// to the control before the next WS_GROUP, in template order, hidden and disabled ones too.
std::vector<HWND> DialogGroupOf(HWND control);

// A dialog laid out in pixels, for the message box and for templates once converted.
struct DialogItemLayout {
  std::u16string class_name;
  int id = 0;
  std::u16string text;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect{};  // client coordinates of the dialog
};
struct DialogLayout {
  std::u16string caption;
  DWORD style = 0;
  RECT rect{};  // the whole window: pop-ups in frame-buffer pixels, children in the parent's
  std::u16string font_face = u"System";
  int font_points = 8;
  std::vector<DialogItemLayout> items;
};
// Creates the dialog hidden, with its font and controls, and runs WM_INITDIALOG; null when a
// control cannot be made. Modal dialogs are always pop-ups owned by `parent`'s top-level
// window.
HWND CreateDialogFromLayout(const DialogLayout& layout, HWND parent, DLGPROC procedure,
                            LPARAM init_param, bool modal);
// Shows the dialog and runs its modal loop; the owner is disabled meanwhile. `quit_answer` is
// the result when a WM_QUIT ends the loop before EndDialog.
// `program_keys`: the program's own keys (SetProgramKeys) work meanwhile; not under a box.
INT_PTR RunModalDialog(HWND dialog, HWND owner, HWND focus_before, INT_PTR quit_answer,
                       bool program_keys = true);
// The drop-down list of a combo box tells its combo box what the pen did.
void ComboListChosen(HWND combo, int index);
void ComboListCancelled(HWND combo);

// The top-level window that contains `window`.
HWND TopLevelOf(HWND window);

// --- Drawing helpers shared by the controls. ---

// Asks the parent for the control's colours with `message` (a WM_CTLCOLOR* message). The
// context starts with black text on a transparent background, which the parent may change.
// Returns the brush to fill with; null when the parent has no opinion (use the default).
inline HBRUSH AskParentForColours(HWND control, HDC dc, UINT message, HWND parent = nullptr) {
  SetTextColor(dc, kText);
  SetBkMode(dc, TRANSPARENT);
  if (parent == nullptr) parent = GetParent(control);
  if (parent == nullptr) return nullptr;
  return reinterpret_cast<HBRUSH>(SendMessage(parent, message, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(control)));
}

// Fills with the parent's brush, or with `fallback` when the parent gave none. A brush that
// paints nothing (the null brush) leaves the background as it is.
inline void FillBackground(HDC dc, const RECT& rect, HBRUSH brush, COLORREF fallback) {
  if (brush == nullptr) {
    FillSolidRect(dc, rect, fallback);
  } else {
    FillRect(dc, &rect, brush);
  }
}

inline void DrawOutline(HDC dc, const RECT& r, COLORREF colour) {
  if (r.Empty()) return;
  DrawHorizontalLine(dc, r.left, r.top, r.Width(), colour);
  DrawHorizontalLine(dc, r.left, r.bottom - 1, r.Width(), colour);
  DrawVerticalLine(dc, r.left, r.top, r.Height(), colour);
  DrawVerticalLine(dc, r.right - 1, r.top, r.Height(), colour);
}

// A 1-pixel bevel just inside `r`: light above and left, shadow below and right; swapped
// when sunken.
inline void DrawBevel(HDC dc, const RECT& r, bool sunken) {
  if (r.Width() < 2 || r.Height() < 2) return;
  const COLORREF lit = sunken ? kBevelShadow : kBevelLight;
  const COLORREF dark = sunken ? kBevelLight : kBevelShadow;
  DrawHorizontalLine(dc, r.left, r.top, r.Width() - 1, lit);
  DrawVerticalLine(dc, r.left, r.top, r.Height() - 1, lit);
  DrawHorizontalLine(dc, r.left, r.bottom - 1, r.Width(), dark);
  DrawVerticalLine(dc, r.right - 1, r.top, r.Height(), dark);
}

// The focus mark: a dotted rectangle, every other pixel.
inline void DrawFocusMark(HDC dc, const RECT& r, COLORREF colour) {
  if (r.Empty()) return;
  for (int32_t x = r.left; x < r.right; x += 2) {
    FillSolidRect(dc, {x, r.top, x + 1, r.top + 1}, colour);
    FillSolidRect(dc, {x, r.bottom - 1, x + 1, r.bottom}, colour);
  }
  for (int32_t y = r.top; y < r.bottom; y += 2) {
    FillSolidRect(dc, {r.left, y, r.left + 1, y + 1}, colour);
    FillSolidRect(dc, {r.right - 1, y, r.right, y + 1}, colour);
  }
}

// A small filled triangle pointing down, centred in `r`, for drop-down and scroll buttons.
inline void DrawArrow(HDC dc, const RECT& r, bool up, COLORREF colour) {
  const int32_t half = std::max(1, std::min(r.Width(), r.Height()) / 4);
  const int32_t cx = r.left + r.Width() / 2;
  const int32_t top = r.top + (r.Height() - half) / 2;
  for (int32_t i = 0; i < half; ++i) {
    const int32_t row = up ? top + i : top + half - 1 - i;
    DrawHorizontalLine(dc, cx - i - 1, row, 2 * i + 2, colour);
  }
}

inline HFONT FontOrDefault(HFONT font) {
  return font != nullptr ? font : GetStockObject(SYSTEM_FONT);
}

inline int32_t TextWidth(HDC dc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

inline int32_t CellHeightOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  SelectObject(dc, FontOrDefault(font));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight > 0 ? tm.tmHeight : 13;
}

inline void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent == nullptr) return;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
              reinterpret_cast<LPARAM>(control));
}

inline DWORD StyleOf(HWND window) {
  return static_cast<DWORD>(GetWindowLong(window, GWL_STYLE));
}

// Upper-case-blind comparison as list boxes sort and search: ASCII and Latin-1 letters fold.
inline char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  return c;
}
inline int CompareFolded(std::u16string_view a, std::u16string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace ce

// Dialogs from templates, the dialog manager, and the standard controls (static, button, check
// box, radio button, group box, edit, list box, drop-down combo box), in the manner of the
// handheld's own window system: the same messages, notifications, styles and keyboard rules.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/gdi.h"
#include "platform/window.h"

namespace ce {

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// A template names its controls by class, in any case: u"BUTTON", u"STATIC", u"EDIT", u"LISTBOX",
// u"COMBOBOX". Places and sizes are dialog units: x and y become pixels as x * 7 / 4 and
// y * 7 / 4, rounded down, for places and sizes alike.
struct DialogItemTemplate {
  const char16_t* class_name = u"STATIC";
  int id = 0;
  const char16_t* text = u"";
  DWORD style = 0;  // WS_CHILD | WS_VISIBLE are implied
  DWORD ex_style = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  int id = 0;
  const char16_t* caption = nullptr;  // a caption bar when style has WS_CAPTION
  DWORD style = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  const char16_t* font_face = u"System";
  int16_t font_points = 8;
  std::span<const DialogItemTemplate> items;
};

// The program registers its templates once; dialogs are then made by template id.
void RegisterDialogTemplates(std::span<const DialogTemplate> templates);
const DialogTemplate* FindDialogTemplate(int id);
constexpr const char16_t* MAKEINTRESOURCE(int id) {
  return reinterpret_cast<const char16_t*>(static_cast<uintptr_t>(id));
}
int32_t DialogUnitsToPixels(int32_t units);  // units * 7 / 4

// Modeless: returns the dialog, which stays until DestroyWindow. Modal: runs its own message
// loop until EndDialog and returns the result given to it; -1 when the template is unknown.
HWND CreateDialogParam(HINSTANCE instance, const char16_t* template_name, HWND parent,
                       DLGPROC procedure, LPARAM init_param);
// The program's own keys, such as its help and its end: `take` sees every message of the main
// loop and of each modal dialog's (a message box's excepted) before the dialog does, and returns
// true for one it has taken.
void SetProgramKeys(bool (*take)(const MSG& msg));
bool TakeProgramKey(const MSG& msg);
// True while the dialog manager moves the focus for Tab, Shift+Tab or an arrow key: a control
// whose focus does something (a date field opening its calendar) can tell a key passing through
// from a tap.
bool FocusMovedByKey();

INT_PTR DialogBoxParam(HINSTANCE instance, const char16_t* template_name, HWND parent,
                       DLGPROC procedure, LPARAM init_param);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
// The dialog keyboard interface: Tab/Shift+Tab, arrows within a group, Space, Enter (the
// default button), Esc (IDCANCEL). Returns TRUE when it took the message.
BOOL IsDialogMessage(HWND dialog, MSG* msg);
// The dialog that `window` is or belongs to (its top-level window, when that is a dialog);
// null for any other window.
HWND DialogOf(HWND window);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam);
BOOL SetDlgItemText(HWND dialog, int id, const char16_t* text);
UINT GetDlgItemText(HWND dialog, int id, char16_t* buffer, int size);
// The control's whole text, for our own code (GetWindowString of the item); empty without one.
std::u16string GetDlgItemString(HWND dialog, int id);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int first_id, int last_id, int check_id);

// The controls' window classes are registered by the window system at start; this is the
// list, for tests.
std::span<const char16_t* const> StandardControlClasses();

}  // namespace ce

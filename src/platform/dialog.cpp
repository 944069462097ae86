// The dialog manager: templates, dialog creation, the modal loop, the default dialog procedure,
// the keyboard interface and the Dlg* helpers.
//
// The manager asks each control one question, WM_GETDLGCODE, and handles a handful of keys
// itself; everything else goes to the control with the focus.
//
// Choices of ours where the handheld leaves room:
// - The template's font: "System" 8 is a 13-pixel cell (other sizes in proportion); any other
//   face takes its points at 96 dots per inch as a character height.
// - A modal dialog is always a pop-up owned by its parent's top-level window: it disables that
//   window while it runs, and as its child it could never be used.
// - A quit message that ends a modal loop before EndDialog answers IDCANCEL, never a
//   confirmation; the quit is posted again for the loop outside.
// - Enter does not press a disabled OK or default button.
#include "platform/dialog.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/controls_internal.h"
#include "platform/message_box.h"

namespace ce {
namespace {

// One modal run, on the stack of RunModalDialog.
struct ModalRun {
  bool ended = false;
  bool destroyed = false;
  INT_PTR result = 0;
  HWND owner = nullptr;
  bool owner_disabled = false;  // we disabled it and still owe it the enabling
};

struct DialogInfo {
  HFONT font = nullptr;      // what WM_GETFONT answers
  HFONT own_font = nullptr;  // the template's font, deleted with the dialog
  int def_id = 0;            // DM_GETDEFID; 0: none
  HWND focus = nullptr;      // the control that had the focus last (a direct child)
  bool ended = false;
  INT_PTR result = 0;
  ModalRun* modal = nullptr;
};

std::unordered_map<HWND, std::unique_ptr<DialogInfo>>& Dialogs() {
  static std::unordered_map<HWND, std::unique_ptr<DialogInfo>> dialogs;
  return dialogs;
}

DialogInfo* InfoOf(HWND dialog) {
  auto it = Dialogs().find(dialog);
  return it == Dialogs().end() ? nullptr : it->second.get();
}

void ForgetDialog(HWND dialog) {
  auto it = Dialogs().find(dialog);
  if (it == Dialogs().end()) return;
  std::unique_ptr<DialogInfo> info = std::move(it->second);
  Dialogs().erase(it);
  if (info->modal != nullptr) info->modal->destroyed = true;
  if (info->own_font != nullptr) DeleteObject(info->own_font);
}

std::map<int, DialogTemplate>& Templates() {
  static std::map<int, DialogTemplate> templates;
  return templates;
}

// A template is named by number (MAKEINTRESOURCE) or by text: "#315" or "315".
const DialogTemplate* ResolveTemplate(const char16_t* name) {
  const auto value = reinterpret_cast<uintptr_t>(name);
  if (value == 0) return nullptr;
  if (value <= 0xFFFF) return FindDialogTemplate(static_cast<int>(value));
  std::u16string_view text(name);
  if (!text.empty() && text.front() == u'#') text.remove_prefix(1);
  if (text.empty() || text.size() > 9) return nullptr;
  int id = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return nullptr;
    id = id * 10 + (c - u'0');
  }
  return FindDialogTemplate(id);
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    out.push_back(c);
  }
  return out;
}

// The dialog's own child that is or contains `window` (the edit inside a combo box answers
// for the combo box); null when `window` is not inside the dialog.
HWND DirectChild(HWND dialog, HWND window) {
  while (window != nullptr && GetParent(window) != dialog) {
    if (!(StyleOf(window) & WS_CHILD)) return nullptr;
    window = GetParent(window);
  }
  return (window != nullptr && (StyleOf(window) & WS_CHILD)) ? window : nullptr;
}

// Only the control's own bits count: a dialog that is still hidden has visible controls.
bool CanTakeFocus(HWND control) {
  const DWORD style = StyleOf(control);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

LRESULT DlgCode(HWND control) {
  return SendMessage(control, WM_GETDLGCODE, 0, 0);
}

bool IsPushButton(LRESULT code) {
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The default push button follows the focus among push buttons; when the focus is elsewhere
// the dialog's default id has the default look.
void UpdateDefaultLook(HWND dialog, HWND focused) {
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return;
  HWND want = nullptr;
  if (focused != nullptr && IsPushButton(DlgCode(focused))) {
    want = focused;
  } else if (info->def_id != 0) {
    HWND def = GetDlgItem(dialog, info->def_id);
    if (def != nullptr && IsPushButton(DlgCode(def))) want = def;
  }
  for (HWND c : ChildrenOf(dialog)) {
    if (c != want && (DlgCode(c) & DLGC_DEFPUSHBUTTON)) {
      SendMessage(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
  }
  if (want != nullptr && (DlgCode(want) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessage(want, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

// Focus given by the dialog manager (Tab, arrows, the start): an edit then selects all.
void SetDialogFocus(HWND control) {
  if (DlgCode(control) & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void RestoreFocus(HWND dialog) {
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return;
  HWND target = info->focus;
  if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target) || !CanTakeFocus(target)) {
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  }
  HWND focus = GetFocus();
  if (target == nullptr) {
    // Nothing to type into: the dialog itself takes the keys.
    if (focus != dialog && !IsChild(dialog, focus)) SetFocus(dialog);
    return;
  }
  if (focus == target || IsChild(target, focus)) return;
  SetFocus(target);
}

// Enter: the focused push button, else the default id, else IDOK. A disabled button is not
// pressed by the keyboard either.
void PressDefault(HWND dialog) {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(dialog, focus) && (DlgCode(focus) & DLGC_DEFPUSHBUTTON)) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                reinterpret_cast<LPARAM>(focus));
    return;
  }
  const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
  const int id = HIWORD(static_cast<uintptr_t>(def)) == DC_HASDEFID ? LOWORD(def) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr && !IsWindowEnabled(button)) return;
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool g_focus_moved_by_key = false;

// Sends the dialog manager's own focus move, marked as the keyboard's.
void MoveFocusByKey(HWND dialog, WPARAM wparam, LPARAM lparam) {
  const bool outer = std::exchange(g_focus_moved_by_key, true);
  SendMessage(dialog, WM_NEXTDLGCTL, wparam, lparam);
  g_focus_moved_by_key = outer;
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, from, previous ? TRUE : FALSE);
  if (next == nullptr) return;
  if (DlgCode(next) == (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
    // Moving within a group of radio buttons also chooses the one moved to.
    SetFocus(next);
    if ((StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        SendMessage(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
      SendMessage(next, BM_CLICK, 0, 0);
    }
    return;
  }
  MoveFocusByKey(dialog, reinterpret_cast<WPARAM>(next), TRUE);
}

// The keys the dialog manager handles itself; false leaves the key to the control.
bool HandleDialogKey(HWND dialog, MSG* msg) {
  const LRESULT code =
      SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  if (code & DLGC_WANTALLKEYS) return false;
  switch (msg->wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      MoveFocusByKey(dialog, IsKeyDown(VK_SHIFT) ? 1 : 0, 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      MoveInGroup(dialog, msg->hwnd, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      return true;
    case VK_ESCAPE:
      SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return true;
    case VK_RETURN:
      PressDefault(dialog);
      return true;
    default:
      return false;
  }
}

// Messages whose answer is the dialog procedure's return value itself; for the others a
// procedure that handles the message leaves its answer in DWL_MSGRESULT.
bool AnswerIsReturnValue(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_INITDIALOG || message == WM_GETDLGCODE;
}

LRESULT DefaultDialogHandling(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return DefWindowProc(dialog, message, wparam, lparam);
  switch (message) {
    case WM_SETFONT:
      info->font = reinterpret_cast<HFONT>(wparam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(info->font);
    case WM_ERASEBKGND: {
      auto dc = reinterpret_cast<HDC>(wparam);
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessage(dialog, WM_CTLCOLORDLG, wparam, reinterpret_cast<LPARAM>(dialog)));
      RECT client;
      GetClientRect(dialog, &client);
      FillBackground(dc, client, brush, kWindowFace);
      return 1;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return 0;  // the controls' own defaults
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = DirectChild(dialog, GetFocus());
        if (focus != nullptr) info->focus = focus;
      } else {
        RestoreFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog);
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lparam) != 0 ? reinterpret_cast<HWND>(wparam)
                                        : GetNextDlgTabItem(dialog, GetFocus(), wparam != 0);
      if (target != nullptr && IsChild(dialog, target)) SetDialogFocus(target);
      return 0;
    }
    case DM_GETDEFID:
      return info->def_id != 0 ? MAKELPARAM(info->def_id, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      info->def_id = static_cast<int>(wparam);
      UpdateDefaultLook(dialog, DirectChild(dialog, GetFocus()));
      return TRUE;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel)) {
        PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case WM_GETDLGCODE:
      return 0;
    default:
      return DefWindowProc(dialog, message, wparam, lparam);
  }
}

HFONT MakeDialogFont(const std::u16string& face, int points) {
  LOGFONT lf{};
  const std::u16string name = face.empty() ? std::u16string(u"System") : face;
  std::copy_n(name.begin(), std::min<size_t>(name.size(), 31), lf.lfFaceName);
  bool system = name.size() == 6;
  for (size_t i = 0; system && i < 6; ++i) system = FoldCase(name[i]) == FoldCase(u"System"[i]);
  points = std::clamp(points, 1, 72);
  // The handheld's "System" 8 is a 13-pixel cell; other faces take their points at 96 dots
  // per inch, as a character height.
  lf.lfHeight = system ? (points * 13 + 4) / 8 : -((points * 96 + 36) / 72);
  lf.lfWeight = 400;
  return CreateFontIndirect(&lf);
}

DialogLayout LayoutFromTemplate(const DialogTemplate& t) {
  DialogLayout layout;
  layout.caption = t.caption != nullptr ? t.caption : u"";
  layout.style = t.style;
  int32_t width = DialogUnitsToPixels(t.cx);
  int32_t height = DialogUnitsToPixels(t.cy);
  // The template gives the client area; the caption bar and its border come on top.
  if ((t.style & WS_CAPTION) == WS_CAPTION) {
    width += 2;
    height += kCaptionHeight + 1;
  }
  int32_t x = DialogUnitsToPixels(t.x);
  int32_t y = DialogUnitsToPixels(t.y);
  if ((t.style & DS_CENTER) && !(t.style & WS_CHILD)) {
    x = (kScreenWidth - width) / 2;
    y = (kScreenHeight - height) / 2;
  }
  layout.rect = {x, y, x + width, y + height};
  layout.font_face = t.font_face != nullptr ? t.font_face : u"System";
  layout.font_points = t.font_points;
  for (const DialogItemTemplate& item : t.items) {
    DialogItemLayout out;
    out.class_name = item.class_name != nullptr ? item.class_name : u"STATIC";
    out.id = item.id;
    out.text = item.text != nullptr ? item.text : u"";
    out.style = item.style;
    out.ex_style = item.ex_style;
    const int32_t ix = DialogUnitsToPixels(item.x), iy = DialogUnitsToPixels(item.y);
    out.rect = {ix, iy, ix + DialogUnitsToPixels(item.cx), iy + DialogUnitsToPixels(item.cy)};
    layout.items.push_back(std::move(out));
  }
  return layout;
}

HMENU IdAsMenu(int id) {
  return reinterpret_cast<HMENU>(static_cast<uintptr_t>(static_cast<uint16_t>(id)));
}

}  // namespace

namespace internal {

void RegisterStandardControls() {
  WNDCLASS wc{};
  wc.lpfnWndProc = &DefDlgProc;
  wc.lpszClassName = kDialogClass;
  RegisterClass(&wc);
  RegisterStaticClass();
  RegisterButtonClass();
  RegisterEditClass();
  RegisterListBoxClasses();
  RegisterComboBoxClass();
}

}  // namespace internal

// --- Templates. ---

void RegisterDialogTemplates(std::span<const DialogTemplate> templates) {
  for (const DialogTemplate& t : templates) Templates()[t.id] = t;
}

const DialogTemplate* FindDialogTemplate(int id) {
  auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : &it->second;
}

int32_t DialogUnitsToPixels(int32_t units) {
  const int64_t scaled = static_cast<int64_t>(units) * 7;
  // Rounded down, also for places left of or above the origin.
  return static_cast<int32_t>(scaled >= 0 ? scaled / 4 : -((-scaled + 3) / 4));
}

// --- Creation and the modal loop. ---

HWND TopLevelOf(HWND window) {
  while (window != nullptr && (StyleOf(window) & WS_CHILD)) {
    HWND parent = GetParent(window);
    if (parent == nullptr) break;
    window = parent;
  }
  return window;
}

HWND DialogOf(HWND window) {
  const HWND top = TopLevelOf(window);
  return top != nullptr && GetClassName(top) == kDialogClass ? top : nullptr;
}

HWND CreateDialogFromLayout(const DialogLayout& layout, HWND parent, DLGPROC procedure,
                            LPARAM init_param, bool modal) {
  internal::RegisterStandardControls();
  DWORD style = layout.style & ~WS_VISIBLE;
  HWND container = parent;
  // A modal dialog disables its owner; as a child of that owner it could never be used.
  if (modal || !(style & WS_CHILD)) {
    style = (style & ~WS_CHILD) | WS_POPUP;
    container = TopLevelOf(parent);
  } else if (parent == nullptr) {
    return nullptr;
  }
  const RECT& r = layout.rect;
  HWND dialog =
      CreateWindowEx(0, kDialogClass, layout.caption.c_str(), style, r.left, r.top, r.Width(),
                     r.Height(), container, nullptr, GetModuleHandle(nullptr), nullptr);
  if (dialog == nullptr) return nullptr;
  SetWindowLong(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  HFONT font = MakeDialogFont(layout.font_face, layout.font_points);
  if (DialogInfo* info = InfoOf(dialog)) {
    info->own_font = font;
  } else if (font != nullptr) {
    DeleteObject(font);
    font = nullptr;
  }
  SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  for (const DialogItemLayout& item : layout.items) {
    HWND control = CreateWindowEx(item.ex_style, item.class_name.c_str(), item.text.c_str(),
                                  item.style | WS_CHILD | WS_VISIBLE, item.rect.left, item.rect.top,
                                  item.rect.Width(), item.rect.Height(), dialog, IdAsMenu(item.id),
                                  GetModuleHandle(nullptr), nullptr);
    if (control == nullptr) {
      DestroyWindow(dialog);
      return nullptr;
    }
    SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    DialogInfo* info = InfoOf(dialog);
    if (info != nullptr && info->def_id == 0 && (DlgCode(control) & DLGC_DEFPUSHBUTTON)) {
      info->def_id = item.id;
    }
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  const LRESULT wants_focus =
      SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init_param);
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return nullptr;  // destroyed by its own initialisation
  if (wants_focus != 0 && !info->ended) {
    first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (first != nullptr) SetDialogFocus(first);
  }
  return dialog;
}

namespace {
bool (*g_program_keys)(const MSG&) = nullptr;
}  // namespace

void SetProgramKeys(bool (*take)(const MSG& msg)) {
  g_program_keys = take;
}

bool FocusMovedByKey() {
  return g_focus_moved_by_key;
}

bool TakeProgramKey(const MSG& msg) {
  return g_program_keys != nullptr && g_program_keys(msg);
}

INT_PTR RunModalDialog(HWND dialog, HWND owner, HWND focus_before, INT_PTR quit_answer,
                       bool program_keys) {
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return quit_answer;
  ModalRun run;
  run.ended = info->ended;
  run.result = info->result;
  run.owner = owner;
  info->modal = &run;
  bool quit = false;
  if (!run.ended) {
    if (owner != nullptr && IsWindowEnabled(owner)) {
      EnableWindow(owner, FALSE);
      run.owner_disabled = true;
    }
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    MSG msg{};
    while (!run.ended && !run.destroyed) {
      const BOOL got = GetMessage(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        // The quit belongs to the main loop: hand it on and stop waiting for an answer.
        PostQuitMessage(static_cast<int>(msg.wParam));
        quit = true;
        break;
      }
      if (program_keys && TakeProgramKey(msg)) continue;
      if (!IsDialogMessage(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  }
  if (run.owner_disabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (DialogInfo* still = InfoOf(dialog)) still->modal = nullptr;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  // The focus goes back where it was, unless something meanwhile put it elsewhere than on the
  // window that activation returned to.
  if (focus_before != nullptr && IsWindow(focus_before) && IsWindowVisible(focus_before) &&
      IsWindowEnabled(focus_before) && TopLevelOf(focus_before) == GetActiveWindow()) {
    HWND now = GetFocus();
    if (now == nullptr || now == GetActiveWindow()) SetFocus(focus_before);
  }
  return run.ended && !quit ? run.result : quit_answer;
}

HWND CreateDialogParam(HINSTANCE, const char16_t* template_name, HWND parent, DLGPROC procedure,
                       LPARAM init_param) {
  const DialogTemplate* t = ResolveTemplate(template_name);
  if (t == nullptr) return nullptr;
  HWND dialog =
      CreateDialogFromLayout(LayoutFromTemplate(*t), parent, procedure, init_param, false);
  if (dialog == nullptr) return nullptr;
  DialogInfo* info = InfoOf(dialog);
  if ((t->style & WS_VISIBLE) && info != nullptr && !info->ended) {
    ShowWindow(dialog, SW_SHOW);
    if (!(StyleOf(dialog) & WS_CHILD)) SetActiveWindow(dialog);
  }
  return dialog;
}

INT_PTR DialogBoxParam(HINSTANCE, const char16_t* template_name, HWND parent, DLGPROC procedure,
                       LPARAM init_param) {
  const DialogTemplate* t = ResolveTemplate(template_name);
  if (t == nullptr) return -1;
  HWND owner = parent != nullptr ? TopLevelOf(parent) : nullptr;
  HWND focus_before = GetFocus();
  HWND dialog = CreateDialogFromLayout(LayoutFromTemplate(*t), owner, procedure, init_param, true);
  if (dialog == nullptr) return -1;
  // A quit that ends the run before an answer counts as Cancel, never as a confirmation.
  return RunModalDialog(dialog, owner, focus_before, IDCANCEL);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogInfo* info = InfoOf(dialog);
  if (info == nullptr) return FALSE;
  info->ended = true;
  info->result = result;
  if (ModalRun* run = info->modal) {
    run->ended = true;
    run->result = result;
    // The owner is enabled before the dialog goes, so that activation can return to it.
    if (run->owner_disabled && IsWindow(run->owner)) EnableWindow(run->owner, TRUE);
    run->owner_disabled = false;
  }
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) Dialogs()[dialog] = std::make_unique<DialogInfo>();
  auto procedure = reinterpret_cast<DLGPROC>(GetWindowLong(dialog, DWL_DLGPROC));
  if (procedure != nullptr) {
    SetWindowLong(dialog, DWL_MSGRESULT, 0);
    const INT_PTR handled = procedure(dialog, message, wparam, lparam);
    if (message == WM_DESTROY) {
      ForgetDialog(dialog);
      return 0;
    }
    if (handled != 0) {
      return AnswerIsReturnValue(message) ? handled : GetWindowLong(dialog, DWL_MSGRESULT);
    }
  }
  if (message == WM_DESTROY) {
    ForgetDialog(dialog);
    return 0;
  }
  return DefaultDialogHandling(dialog, message, wparam, lparam);
}

// --- The keyboard interface. ---

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
  if (msg == nullptr || dialog == nullptr || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN && HandleDialogKey(dialog, msg)) return TRUE;
  if (msg->message == WM_CHAR) {
    // The control characters of keys the manager handles are not typing.
    const LRESULT code =
        SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    const auto ch = static_cast<char16_t>(msg->wParam);
    if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) &&
        (ch == u'\t' || ch == u'\r' || ch == 0x1B)) {
      return TRUE;
    }
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  const std::vector<HWND> children = ChildrenOf(dialog);
  if (children.empty()) return nullptr;
  control = DirectChild(dialog, control);
  const auto n = static_cast<ptrdiff_t>(children.size());
  ptrdiff_t start = previous ? 0 : n - 1;  // so that the first step lands on an end
  if (control != nullptr) {
    start = std::find(children.begin(), children.end(), control) - children.begin();
  }
  for (ptrdiff_t step = 1; step <= n; ++step) {
    const ptrdiff_t i = ((start + (previous ? -step : step)) % n + n) % n;
    HWND c = children[static_cast<size_t>(i)];
    if (c != control && (StyleOf(c) & WS_TABSTOP) && CanTakeFocus(c)) return c;
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  control = DirectChild(dialog, control);
  if (control == nullptr) return nullptr;
  const std::vector<HWND> group = DialogGroupOf(control);
  const auto n = static_cast<ptrdiff_t>(group.size());
  const ptrdiff_t at = std::find(group.begin(), group.end(), control) - group.begin();
  for (ptrdiff_t step = 1; step < n; ++step) {
    const ptrdiff_t i = ((at + (previous ? -step : step)) % n + n) % n;
    HWND c = group[static_cast<size_t>(i)];
    if (CanTakeFocus(c)) return c;
  }
  return control;
}

std::vector<HWND> DialogGroupOf(HWND control) {
  HWND parent = GetParent(control);
  if (parent == nullptr || !(StyleOf(control) & WS_CHILD)) return {control};
  const std::vector<HWND> children = ChildrenOf(parent);
  auto at = std::find(children.begin(), children.end(), control);
  if (at == children.end()) return {control};
  auto first = at;
  while (first != children.begin() && !(StyleOf(*first) & WS_GROUP)) --first;
  auto last = first + 1;
  while (last != children.end() && !(StyleOf(*last) & WS_GROUP)) ++last;
  return {first, last};
}

void DialogControlFocused(HWND control) {
  HWND child = control;
  HWND parent = GetParent(child);
  while (parent != nullptr && InfoOf(parent) == nullptr) {
    if (!(StyleOf(child) & WS_CHILD)) return;
    child = parent;
    parent = GetParent(parent);
  }
  DialogInfo* info = InfoOf(parent);
  if (info == nullptr || !(StyleOf(child) & WS_CHILD)) return;
  info->focus = child;
  UpdateDefaultLook(parent, child);
}

// --- Helpers. ---

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? SendMessage(item, message, wparam, lparam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, const char16_t* text) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, char16_t* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = u'\0';
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return 0;
  return static_cast<UINT>(std::max(0, GetWindowText(item, buffer, size)));
}

std::u16string GetDlgItemString(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? GetWindowString(item) : std::u16string();
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed) {
  const bool negative = is_signed && static_cast<int32_t>(value) < 0;
  uint64_t magnitude = negative ? -static_cast<int64_t>(static_cast<int32_t>(value)) : value;
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits.insert(digits.begin(), u'-');
  return SetDlgItemText(dialog, id, digits.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed) {
  if (translated != nullptr) *translated = FALSE;
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return 0;
  const std::u16string text = GetWindowString(item);
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+') && is_signed) {
    negative = text[i] == u'-';
    ++i;
  }
  const size_t digits_start = i;
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (value > 0xFFFFFFFFull) return 0;  // does not fit: not a number here
  }
  if (i == digits_start) return 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i != text.size()) return 0;
  if (is_signed) {
    if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
    if (translated != nullptr) *translated = TRUE;
    const int64_t signed_value =
        negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    return static_cast<UINT>(static_cast<int32_t>(signed_value));
  }
  if (translated != nullptr) *translated = TRUE;
  return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return FALSE;
  SendMessage(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first_id, int last_id, int check_id) {
  const int low = std::min(first_id, last_id), high = std::max(first_id, last_id);
  bool any = false;
  for (HWND c : ChildrenOf(dialog)) {
    const int id = GetDlgCtrlID(c);
    if (id < low || id > high) continue;
    SendMessage(c, BM_SETCHECK, id == check_id ? BST_CHECKED : BST_UNCHECKED, 0);
    any = true;
  }
  return any ? TRUE : FALSE;
}

std::span<const char16_t* const> StandardControlClasses() {
  static const char16_t* const kClasses[] = {kStaticClass, kButtonClass, kEditClass, kListBoxClass,
                                             kComboBoxClass};
  return kClasses;
}

}  // namespace ce

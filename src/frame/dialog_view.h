// The screens with a dialog: two small bases between CPlainView_ and the screens, so that the
// lifecycle every such screen shares is written once. A screen states once how its dialog is
// made and looks (ScreenDialog) and keeps only what is its own: its commands, its fields, its
// rules.
//
//   CFormView_  a form. OnActivate runs the dialog modally and returns when it ends. The screen
//               requests the next screen, then ends its dialog; left any other way (the menu),
//               OnDeactivate ends the dialog, so that it never stays under the next screen.
//   CListView_  a list. OnActivate makes a modeless dialog, OnDeactivate destroys it.
//
// Both own the active flag, the dialog handle (Dialog(): null while there is none), the draw
// target (the screen buffer from activation on), the shell parts hidden while the screen is
// shown, and the shared answers of the dialog:
//
//   WM_INITDIALOG    SHInitDialog with the screen's flags, the caption font on the listed
//                    controls, then OnInitDialog
//   WM_PAINT         OnPaint between BeginPaint and EndPaint: the background drawn into the
//                    screen buffer and presented, unless the screen draws its own
//   WM_CTLCOLOR…     OnControlColour: the title white on blue, the listed controls black on
//                    cyan, the others their own look
//   WM_DESTROY       the handle forgotten, then OnScreenMessage
//   anything else    OnScreenMessage (commands, taps): TRUE when handled
#pragma once

#include <span>

#include "frame/document.h"
#include "frame/view.h"
#include "gfx/fast_bitmap.h"
#include "platform/dialog.h"
#include "platform/window.h"

// How a screen's dialog is made and looks.
struct ScreenDialog {
  int template_id = 0;
  // SHInitDialog's flags: 0x0A sizes the dialog to the screen with the input panel down, 0x0B
  // adds the Done button, 0 leaves a pop-up the size and place of its template.
  ce::DWORD init_flags = ce::SHIDIF_SIZEDLG | ce::SHIDIF_SIPDOWN;
  std::span<const int> caption_font = {};  // controls set in the caption font
  std::span<const int> cyan = {};          // controls drawn black on cyan
  // SHFS_HIDE… parts of the shell hidden while the screen is shown, shown again when it goes.
  ce::DWORD hidden_shell = 0;
  // The dialog's own plain look: WM_PAINT and the colour messages go to OnScreenMessage.
  bool plain = false;
  // The "Fatal Error" text when a list's dialog cannot be made; null: none is shown.
  const char16_t* create_failure = nullptr;
};

class CDialogView_ : public CPlainView_ {
 public:
  ce::HWND Dialog() const { return dialog_; }
  // What the screen's dialog procedure answers: TRUE when the message is handled.
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);
  // A key the frame offers the screen before the dialog manager sees it: false leaves it to the
  // dialog manager and the focused control.
  bool TakeKey(ce::UINT key) { return dialog_ != nullptr && OnKey(dialog_, key); }

 protected:
  CDialogView_(bool remember_as_previous, const ScreenDialog& setup)
      : CPlainView_(remember_as_previous), setup_(setup) {}

  // The screen's own set-up, after the shared one; FALSE when it has set the focus itself.
  virtual ce::INT_PTR OnInitDialog(ce::HWND) { return ce::TRUE; }
  // The picture of the dialog; `area` is what needs painting.
  virtual void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area);
  virtual ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control);
  virtual ce::INT_PTR OnScreenMessage(ce::HWND, ce::UINT, ce::WPARAM, ce::LPARAM) {
    return ce::FALSE;
  }
  // The keys that do what the pen does on the screen's drawn arrows and grids. Offered before
  // the dialog manager and the focused control see the key: a screen takes only keys that its
  // focused control has no use for.
  virtual bool OnKey(ce::HWND, ce::UINT) { return false; }

  // Activation's shared part: active, shell parts hidden, drawing into the screen buffer.
  void BeginShowing();
  // Deactivation's shared part: false when the screen was not active; else inactive, with the
  // shell parts shown again.
  bool EndShowing();

  CFastBitmap background_;  // loaded by the screen's OnLoad
  const ScreenDialog setup_;
  ce::HWND dialog_ = nullptr;
};

class CFormView_ : public CDialogView_ {
 public:
  void OnActivate() override;
  bool OnDeactivate() override;

 protected:
  using CDialogView_::CDialogView_;
  // The screen was left while its dialog still ran; the dialog has been ended.
  virtual void OnLeftRunning() {}
  // Called before a screen requests the switch that goes with the end of its own dialog: the
  // deactivation then finds no dialog to end and OnLeftRunning is not called.
  void ForgetDialog() { dialog_ = nullptr; }
};

class CListView_ : public CDialogView_ {
 public:
  void OnActivate() override;
  bool OnDeactivate() override;

 protected:
  using CDialogView_::CDialogView_;
  void DestroyDialog();
};

// How a screen runs its dialog. The screen object travels to the dialog as its creation
// parameter, lives in the dialog's user slot, and hears every message in a member function, so
// that a screen's state is the screen object's and nothing is kept at file scope. The screens
// use it through CFormView_ (modal) and CListView_ (modeless), frame/dialog_view.h:
//
//   RunScreenDialog<CDialogView_>(this, setup_.template_id);            // modal
//   dialog_ = CreateScreenDialog<CDialogView_>(this, setup_.template_id); // modeless
//
// OnDialogMessage answers as a dialog procedure does: TRUE when it handled the message.
// Messages that arrive before WM_INITDIALOG (there are none from templates today) get FALSE.
#pragma once

#include "frame/document.h"
#include "platform/dialog.h"

template <class Screen>
ce::INT_PTR ScreenDialogProc(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                             ce::LPARAM lparam) {
  if (message == ce::WM_INITDIALOG) ce::SetWindowLong(dialog, ce::DWL_USER, lparam);
  auto* screen = reinterpret_cast<Screen*>(ce::GetWindowLong(dialog, ce::DWL_USER));
  if (screen == nullptr) return ce::FALSE;
  return screen->OnDialogMessage(dialog, message, wparam, lparam);
}

// Runs the screen's modal dialog over the main window; returns how it ended.
template <class Screen>
ce::INT_PTR RunScreenDialog(Screen* screen, int template_id) {
  return ce::DialogBoxParam(CDocument_::GetInstance(), ce::MAKEINTRESOURCE(template_id),
                            CDocument_::GetMainWnd(), &ScreenDialogProc<Screen>,
                            reinterpret_cast<ce::LPARAM>(screen));
}

// Creates the screen's modeless dialog over the main window.
template <class Screen>
ce::HWND CreateScreenDialog(Screen* screen, int template_id) {
  return ce::CreateDialogParam(CDocument_::GetInstance(), ce::MAKEINTRESOURCE(template_id),
                               CDocument_::GetMainWnd(), &ScreenDialogProc<Screen>,
                               reinterpret_cast<ce::LPARAM>(screen));
}

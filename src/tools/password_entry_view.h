// CPasswordEntryView (screen 22): the prompt shown at start-up while a password is set.
#pragma once

#include "frame/view.h"

class CPasswordEntryView : public CPlainView_ {
 public:
  CPasswordEntryView() : CPlainView_(false) {}
  void OnActivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

 private:
  void CheckTyped(ce::HWND dialog);
};

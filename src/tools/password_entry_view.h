// CPasswordEntryView (screen 22): the prompt shown at start-up while a password is set.
#pragma once

#include "frame/dialog_view.h"

class CPasswordEntryView : public CFormView_ {
 public:
  CPasswordEntryView();

 protected:
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void CheckTyped(ce::HWND dialog);
};

// CEditCycleView (screen 19, "Edit Cycle"): changes the period length of the cycle the Cycle
// View shows. Its start and length are shown, not edited. OK keeps that cycle on the Cycle View;
// Cancel lets it show the newest again.
#pragma once

#include "cycles/cycle_records.h"
#include "frame/dialog_view.h"

class CEditCycleView : public CFormView_ {
 public:
  CEditCycleView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void OnOk(ce::HWND dialog);
  // Tells the Cycle View whether to keep the edited cycle, goes back and ends the dialog.
  void Leave(ce::HWND dialog, bool keep_shown_cycle, ce::INT_PTR result);

  int32_t shown_cycle_index_ = 0;  // the Cycle View's, when the dialog opened
};

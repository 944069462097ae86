// CEditCycleView (screen 19, "Edit Cycle"): changes the period length of the cycle the Cycle
// View shows. Its start and length are shown, not edited. OK keeps that cycle on the Cycle View;
// Cancel lets it show the newest again.
#pragma once

#include "cycles/cycle_records.h"
#include "frame/view.h"
#include "gfx/fast_bitmap.h"

class CEditCycleView : public CPlainView_ {
 public:
  CEditCycleView() : CPlainView_(false) {}
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

 private:
  void Initialise(ce::HWND dialog);
  void OnOk(ce::HWND dialog);
  // Tells the Cycle View whether to keep the edited cycle, goes back and ends the dialog.
  void Leave(ce::HWND dialog, bool keep_shown_cycle, ce::INT_PTR result);

  int32_t shown_cycle_index_ = 0;  // the Cycle View's, when the dialog opened
  ce::HWND dialog_ = nullptr;
  ce::INT_PTR result_ = 0;
  CFastBitmap background_;
};

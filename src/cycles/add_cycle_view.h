// CAddCycleView (screen 18, "Add New Cycle"): a new cycle from a start date picked on the
// calendar, a period length and a presumed cycle length, with the predicted end shown as the
// lengths are typed.
//
// The start waits here between visits: a picked date stays the pending start, also through
// Cancel, until an OK stores a cycle and makes it today again.
#pragma once

#include <string>

#include "cycles/day_number.h"
#include "frame/dialog_view.h"

class CAddCycleView : public CFormView_ {
 public:
  CAddCycleView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // F4 opens the calendar for the date, as a tap on the date field does: the field is no tab
  // stop, since taking the focus opens the calendar.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void OnFieldChanged(ce::HWND dialog, int id);
  void OnOk(ce::HWND dialog);
  void PickStart(ce::HWND dialog);
  void Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result);

  DayNumber pending_start_ = 0;
  std::u16string pending_start_text_;
  // The start of the open dialog, copied from the pending start when it opens.
  DayNumber start_ = 0;
  std::u16string start_text_;
  std::u16string predicted_end_text_;
};

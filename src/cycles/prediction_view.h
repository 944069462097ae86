// CPredictionView (screen 12): the start dates of future cycles over a period the user picks on
// the calendar, one every "average" days, with what the stored cycles say next to it; a
// predicted date can be stored as a new cycle. A form screen: its dialog is modal.
#pragma once

#include <string>
#include <vector>

#include "cycles/day_number.h"
#include "frame/dialog_view.h"

class CPredictionView : public CFormView_ {
 public:
  // The period starts as today to today + 28, the day the program started.
  CPredictionView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;
  bool OnDeactivate() override;

  DayNumber Start() const { return start_.day; }
  DayNumber End() const { return end_.day; }
  const std::vector<DayNumber>& PredictedDays() const { return predicted_; }

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // F4 on a date field opens the calendar for it.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  struct Date {
    DayNumber day = 0;
    std::u16string text;
  };
  // Which date the calendar is picking.
  enum PendingField { kNoField = 0, kStartField = 1, kEndField = 2 };

  void Predict(ce::HWND dialog);
  void AddSelectedCycle(ce::HWND dialog);
  void PickDate(ce::HWND dialog, PendingField field);

  Date start_;
  Date end_;
  Date picked_;  // from the calendar; an empty text when nothing waits to be applied
  PendingField pending_ = kNoField;
  std::vector<DayNumber> predicted_;  // one per line of the list
  int32_t average_ = 0;               // shown in the average field, which the user may change
  std::u16string range_text_;
  std::u16string last_end_text_;
};

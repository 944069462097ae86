// CDayEntryView (screen 11): what the user records for one day, picked on the calendar: the
// bleeding level, the pill with its time and a remark, kept as the day's "Pill" record. Done
// saves and goes back to the calendar, Delete removes the day's record, Cancel leaves it as it
// was. The time button opens the pill time picker over the editor, whose dialog stays open
// (disabled) until the picker ends.
#pragma once

#include <string>

#include "cycles/day_number.h"
#include "frame/dialog_view.h"

class CDayEntryView : public CFormView_ {
 public:
  CDayEntryView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;
  bool OnDeactivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void LoadDay(ce::HWND dialog);
  void OnBleedingClicked(ce::HWND dialog, int id);
  void OnPillClicked(ce::HWND dialog);
  void OpenTimePicker(ce::HWND dialog);
  // Each returns whether the editor may close: false when the store refused the change (it
  // has said why), so that the form stays with what was entered.
  bool Save(ce::HWND dialog);
  bool DeleteDay(ce::HWND dialog);
  void Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result);

  DayNumber day_ = 0;
  std::u16string date_text_;
  int level_ = 0;  // 0 none, 1 slight, 2 normal, 3 heavy: at most one box is ticked
  bool pill_ = false;
  bool picker_open_ = false;  // the time picker is up over this screen's dialog
};

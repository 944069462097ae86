// CTempHistoryView (screen 8): every basal-temperature reading with its date, in the scale of the
// settings. Add picks a day on the calendar; coming back with a day, the screen shows a value
// picker over the list, and a tap on a value stores the reading for that day. Delete and Delete
// All take readings out of the store. A list screen: its dialog is modeless and lives while it
// is shown.
#pragma once

#include "cycles/day_number.h"
#include "frame/dialog_view.h"
#include "temperature/temp_history.h"

class CTempHistoryView : public CListView_ {
 public:
  CTempHistoryView();
  void OnLoad() override;
  // The calendar, the only screen that hands this one a date, hands back the day picked after
  // Add: the next activation opens with the value picker.
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;
  bool OnDeactivate() override;

  // Set by a picked day; leaving the screen and Add clear it.
  bool DatePicked() const { return date_picked_; }
  DayNumber PickedDay() const { return picked_day_; }
  TemperatureScale Scale() const { return scale_; }

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // In the picker, the arrows (Page Up and Down, Home and End) move the choice and Enter saves
  // it: a tap saves at once, but keys pass over values on the way.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void FillTemperatureList(ce::HWND dialog);
  void FillValuePicker(ce::HWND dialog);
  void SaveReading(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);

  DayNumber picked_day_ = 0;
  bool date_picked_ = false;
  TemperatureScale scale_ = TemperatureScale::kCelsius;
};

// CNoteView (screen 20, "Add Your Note"): a small pop-up over My Diary that takes a date (today,
// or a day picked on the calendar) and a text of at most 20 characters, and stores it as the
// note of that day in My Diary's category.
//
// The text typed when the date field was last tapped waits here as the pending text: the next
// note starts with it, after OK and Cancel alike.
#pragma once

#include <cstdint>
#include <string>

#include "cycles/day_number.h"
#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"

class CNoteView : public CFormView_ {
 public:
  CNoteView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;

  DayNumber Day() const { return day_; }
  ce::HWND DiaryWindow() const { return diary_window_; }

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // F4 opens the calendar for the date, as a tap on the date field does: the field is no tab
  // stop, since taking the focus opens the calendar.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;
  // The diary's dialog kept under the pop-up goes too, or it would stay over the next screen,
  // disabled.
  void OnLeftRunning() override;

 private:
  void KeepTextShort(ce::HWND dialog);
  void PickDate(ce::HWND dialog);
  void OnOk(ce::HWND dialog);
  // Back to My Diary, its dialog enabled again.
  void BackToDiary(ce::HWND dialog, ce::INT_PTR result);
  void Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result);

  DayNumber day_ = 0;
  std::u16string date_text_;
  ce::HWND diary_window_ = nullptr;  // My Diary's dialog, handed over with the date
  std::u16string pending_text_;
  CFastBitmap picture_;  // the full-screen picture; the background is its top rows
};

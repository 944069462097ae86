// CScheduleView (screen 2): a month calendar. Opened from the menu ("Schedule Edit", with the
// day entry editor as the previous screen) it shows each day's entries as small icons and a tap
// on a day opens the editor for it; opened by another screen it is a date picker whose tap hands
// the day back to that screen.
#pragma once

#include <array>

#include "cycles/day_number.h"
#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"
#include "schedule/calendar.h"

class CScheduleView : public CFormView_ {
 public:
  CScheduleView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // Picking a date for Add Your Note, the calendar lets go of My Diary's dialog that waits under
  // the note, disabled.
  void OnLeftRunning() override;
  // Arrows move the keyboard's day (Page Up and Down a month), Enter picks it, Esc leaves as
  // "Done" does.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void DrawMonth(ce::HWND dialog, ce::HDC dc);
  void DrawDayIcons(ce::HWND dialog);
  void Tap(ce::HWND dialog, int32_t x, int32_t y);
  void Redraw(ce::HWND dialog);
  void Pick(ce::HWND dialog, int day);
  void Leave(ce::HWND dialog);
  void PickDay(int day);

  // Today as it was when the program started; the calendar opens on its month.
  int32_t start_year_ = 0;
  int32_t start_month_ = 0;
  int32_t start_day_ = 0;
  int32_t year_ = 0;
  int32_t month_ = 0;
  int32_t selected_day_ = 1;
  int32_t key_day_ = 0;  // the keyboard's day in the month shown; 0 until a key moves it
  ce::RECT grid_{};
  MonthGrid layout_;
  uintptr_t extra_ = 0;               // handed back unchanged to Add Your Note
  std::array<CFastBitmap, 5> icons_;  // bleeding 1-3, remark, pill
};

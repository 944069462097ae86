// CScheduleView (screen 2): a month calendar. Opened from the menu ("Schedule Edit", with the
// day entry editor as the previous screen) it shows each day's entries as small icons and a tap
// on a day opens the editor for it; opened by another screen it is a date picker whose tap hands
// the day back to that screen.
#pragma once

#include <array>

#include "cycles/day_number.h"
#include "frame/view.h"
#include "gfx/fast_bitmap.h"
#include "schedule/calendar.h"

class CScheduleView : public CView_ {
 public:
  CScheduleView();
  void OnExit(AppContext*) override {}
  void OnInit(AppContext*) override {}
  bool OnMessage(ce::HWND, ce::UINT, ce::WPARAM, ce::LPARAM) override { return false; }
  void OnLoad() override;
  void OnTick() override {}
  void OnParams(const ViewParams* params) override;
  bool OnDeactivate() override;
  void OnActivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

  // What the open dialog shows (for tests and inspection).
  int32_t DisplayedYear() const { return year_; }
  int32_t DisplayedMonth() const { return month_; }

 private:
  void Paint(ce::HWND dialog);
  void DrawMonth(ce::HWND dialog, ce::HDC dc);
  void DrawDayIcons(ce::HWND dialog);
  void Tap(ce::HWND dialog, int32_t x, int32_t y);
  void PickDay(int day);

  // Today as it was when the program started; the calendar opens on its month.
  int32_t start_year_ = 0;
  int32_t start_month_ = 0;
  int32_t start_day_ = 0;
  int32_t year_ = 0;
  int32_t month_ = 0;
  int32_t selected_day_ = 1;
  ce::RECT grid_{};
  MonthGrid layout_;
  uintptr_t extra_ = 0;        // handed back unchanged to Add Your Note
  ce::HWND dialog_ = nullptr;  // while a run of the dialog lasts
  CFastBitmap background_;
  std::array<CFastBitmap, 5> icons_;  // bleeding 1-3, remark, pill
};

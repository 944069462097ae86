// CTempChartsView (screen 9): the temperature readings of 25 consecutive days as dots joined by
// lines, five temperature labels that follow the spread of the readings, the window's first and
// last date at the top. The arrows move the window 25 days back or forward, as far as days have
// dates; a tap in a day's column shows that day's date and reading under the chart.
#pragma once

#include <cstdint>
#include <vector>

#include "charts/chart_layout.h"
#include "charts/temperature_window.h"
#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"

class CTempChartsView : public CListView_ {
 public:
  CTempChartsView();
  void OnLoad() override;
  void OnActivate() override;

  // The window's first day (day[0]); it runs to FirstDay() + 24.
  DayNumber FirstDay() const { return last_day_ - (kDaysShown - 1); }

 protected:
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // The arrow keys where the pen taps the drawn arrows.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void Turn(ce::HWND dialog, bool forward);
  void SetWindowEndingAt(DayNumber day) { last_day_ = day; }
  void DrawChart(ce::HWND dialog);
  void DrawChartFrame(ce::HWND dialog);
  void DrawChartLabels(ce::HWND dialog);
  void DrawChartData(ce::HWND dialog);
  void ShowDayDetail(ce::HWND dialog, int32_t x);

  bool celsius_ = true;
  bool has_readings_ = false;
  DayNumber last_day_ = 0;
  AxisTicks ticks_;
  std::vector<ChartReading> shown_;  // what "Temp" holds: the window's readings and their dots

  CFastBitmap arrow_back_;
  CFastBitmap arrow_forward_;
};

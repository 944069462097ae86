// CCycleChartsView (screen 7): the stored cycle lengths as bars, at most twelve to a page, with a
// length axis on the left, each cycle's start month under its bar and the years of the page's
// first and last cycle at the top. The arrows page twelve cycles at a time; Add opens Add New
// Cycle. Every activation starts again at the oldest cycles.
#pragma once

#include <cstdint>
#include <vector>

#include "charts/chart_layout.h"
#include "cycles/cycle_records.h"
#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"

class CCycleChartsView : public CListView_ {
 public:
  CCycleChartsView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // The arrow keys where the pen taps the drawn arrows.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void DrawCycleFrame();
  // The page as it is now: frame, axis, bars, month names and years.
  void DrawPage(ce::HWND dialog, const std::vector<CycleRecord>& cycles);
  void Turn(ce::HWND dialog, bool forward);

  bool show_min_max_ = false;
  CyclePage page_;
  bool laid_out_backward_ = false;

  CFastBitmap arrow_back_;
  CFastBitmap arrow_forward_;
  CFastBitmap bar_image_;
  CFastBitmap bar_;  // cut to each bar's height
};

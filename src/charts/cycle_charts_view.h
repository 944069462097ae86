// CCycleChartsView (screen 7): the stored cycle lengths as bars, at most twelve to a page, with a
// length axis on the left, each cycle's start month under its bar and the years of the page's
// first and last cycle at the top. The arrows page twelve cycles at a time; Add opens Add New
// Cycle. Every activation starts again at the oldest cycles.
#pragma once

#include <cstdint>
#include <vector>

#include "charts/chart_layout.h"
#include "cycles/cycle_records.h"
#include "frame/view.h"
#include "gfx/fast_bitmap.h"

class CCycleChartsView : public CPlainView_ {
 public:
  CCycleChartsView() : CPlainView_(false) {}
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::HWND Dialog() const { return dialog_; }
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

 private:
  void DrawCycleFrame();
  // The page as it is now: frame, axis, bars, month names and years.
  void DrawPage(ce::HWND dialog, const std::vector<CycleRecord>& cycles);
  void Turn(ce::HWND dialog, bool forward);

  bool show_min_max_ = false;
  CyclePage page_;
  bool laid_out_backward_ = false;
  ce::HWND dialog_ = nullptr;

  CFastBitmap background_;
  CFastBitmap arrow_back_;
  CFastBitmap arrow_forward_;
  CFastBitmap bar_image_;
  CFastBitmap bar_;  // cut to each bar's height
};

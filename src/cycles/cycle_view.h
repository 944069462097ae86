// CCycleView (screen 5): the main screen. One cycle at a time on a vertical time line, with the
// period, the ovulation window and the month boundary; arrows on the month strip step to older
// and newer cycles; Add opens Add New Cycle, Edit opens Edit Cycle on the cycle shown.
//
// The screen keeps which cycle is shown for the whole run. Edit Cycle reads ShownCycleIndex and
// sets KeepShownCycle; it reaches this object through CCycleView::Find, which looks the screen
// up in the document's table like every other lookup of a screen.
#pragma once

#include "cycles/cycle_records.h"
#include "cycles/time_line.h"
#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"

class CCycleView : public CListView_ {
 public:
  CCycleView();
  void OnLoad() override;
  void OnActivate() override;

  // The screen in the document's table; null (after a "Fatal Error" report) when the table has
  // none of this class under kCycleView.
  static CCycleView* Find();

  // Position of the shown cycle counted back from the newest (0).
  int32_t ShownCycleIndex() const { return shown_cycle_index_; }
  // Set: the next activation keeps ShownCycleIndex; clear: it shows the newest cycle again.
  bool KeepShownCycle() const { return keep_shown_cycle_; }
  void SetKeepShownCycle(bool keep) { keep_shown_cycle_ = keep; }

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // The arrow keys where the pen taps the drawn arrows.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;

 private:
  void Step(ce::HWND dialog, CycleArrow arrow);
  void DrawCycle(ce::HWND dialog, const CycleRecord& cycle);

  int32_t shown_cycle_index_ = 0;
  bool keep_shown_cycle_ = false;

  CFastBitmap empty_background_;
  CFastBitmap arrow_older_;
  CFastBitmap arrow_newer_;
  CFastBitmap time_line_bar_;
  CFastBitmap ovulation_bar_source_;
  CFastBitmap period_bar_source_;
  CFastBitmap strip_start_month_;
  CFastBitmap strip_end_month_;
  CFastBitmap warning_sign_;
  // Cut to size for each drawing.
  CFastBitmap strip_piece_;
  CFastBitmap ovulation_bar_;
  CFastBitmap period_bar_;
};

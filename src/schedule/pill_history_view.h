// CPillHistoryView (screen 10): every day with a pill and its time. Delete clears the pill of the
// chosen day and DeleteAll every pill; the days keep their bleeding levels and remarks. A list
// screen: its dialog is modeless and lives while it is shown.
#pragma once

#include <vector>

#include "frame/view.h"
#include "gfx/fast_bitmap.h"
#include "schedule/pill_history.h"

class CPillHistoryView : public CPlainView_ {
 public:
  CPillHistoryView() : CPlainView_(true) {}
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

  ce::HWND Dialog() const { return dialog_; }

 private:
  void FillList(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);

  ce::HWND dialog_ = nullptr;
  std::vector<PillLine> lines_;  // what the list shows, line by line
  CFastBitmap background_;
};

// CPillHistoryView (screen 10): every day with a pill and its time. Delete clears the pill of the
// chosen day and DeleteAll every pill; the days keep their bleeding levels and remarks. A list
// screen: its dialog is modeless and lives while it is shown.
#pragma once

#include <vector>

#include "frame/dialog_view.h"
#include "schedule/pill_history.h"

class CPillHistoryView : public CListView_ {
 public:
  CPillHistoryView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void FillList(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);

  std::vector<PillLine> lines_;  // what the list shows, line by line
};

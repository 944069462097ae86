// CCycleHistoryView (screen 6): every cycle in start order with its real length, the newest
// with "N/A", the average under the list; Add opens Add New Cycle, Delete and Delete All take
// cycles out of the store. A list screen: its dialog is modeless and lives while it is shown.
#pragma once

#include "frame/dialog_view.h"

class CCycleHistoryView : public CListView_ {
 public:
  CCycleHistoryView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void Fill(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);
};

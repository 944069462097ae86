// CCycleHistoryView (screen 6): every cycle in start order with its real length, the newest
// with "N/A", the average under the list; Add opens Add New Cycle, Delete and Delete All take
// cycles out of the store. A list screen: its dialog is modeless and lives while it is shown.
#pragma once

#include "frame/view.h"
#include "gfx/fast_bitmap.h"

class CCycleHistoryView : public CPlainView_ {
 public:
  CCycleHistoryView() : CPlainView_(true) {}
  void OnLoad() override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

  ce::HWND Dialog() const { return dialog_; }

 private:
  void Fill(ce::HWND dialog);
  void DeleteSelected(ce::HWND dialog);
  void DeleteAll(ce::HWND dialog);

  ce::HWND dialog_ = nullptr;
  CFastBitmap background_;
};

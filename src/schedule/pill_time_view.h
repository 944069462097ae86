// CPillTimeView (screen 21): the small "Time to take a Pill" window over the day entry editor.
// The hour, the two minute digits and the half of the day are set with the pen; OK writes the
// time on the editor's time button, and both OK and Cancel give the editor back its dialog.
#pragma once

#include <array>

#include "frame/view.h"
#include "gfx/fast_bitmap.h"
#include "schedule/pill_time.h"

class CPillTimeView : public CPlainView_ {
 public:
  CPillTimeView() : CPlainView_(false) {}
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;
  bool OnDeactivate() override;
  ce::INT_PTR OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam);

  const PillTime& Time() const { return time_; }

 private:
  void Draw(ce::HWND dialog) const;
  void Leave(ce::HWND dialog, bool ok);

  PillTime time_;
  ce::HWND editor_ = nullptr;  // the editor's dialog, disabled while the picker is up
  ce::HWND dialog_ = nullptr;  // while the picker's run lasts
  ce::INT_PTR result_ = 0;
  CFastBitmap background_;
  CFastBitmap up_, down_, am_, pm_;
  std::array<CFastBitmap, 13> tiles_;        // 0..12 as the fields show them
  std::array<CFastBitmap, 13> focus_tiles_;  // the same on the focused field
};

// CPillTimeView (screen 21): the small "Time to take a Pill" window over the day entry editor.
// The hour, the two minute digits and the half of the day are set with the pen; OK writes the
// time on the editor's time button, and both OK and Cancel give the editor back its dialog.
#pragma once

#include <array>

#include "frame/dialog_view.h"
#include "gfx/fast_bitmap.h"
#include "schedule/pill_time.h"

class CPillTimeView : public CFormView_ {
 public:
  CPillTimeView();
  void OnLoad() override;
  void OnParams(const ViewParams* params) override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnInitDialog(ce::HWND dialog) override;
  void OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT& area) override;
  ce::INT_PTR OnControlColour(ce::WPARAM dc, ce::LPARAM control) override;
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;
  // Up and Down step the focused field, Left and Right move between the fields, A and P set the
  // half of the day; Enter and Esc stay OK and Cancel.
  bool OnKey(ce::HWND dialog, ce::UINT key) override;
  // The editor under the picker goes too, enabled again: the program is going elsewhere.
  void OnLeftRunning() override;

 private:
  void Draw(ce::HWND dialog) const;
  void Leave(ce::HWND dialog, bool ok);

  PillTime time_;
  ce::HWND editor_ = nullptr;  // the editor's dialog, disabled while the picker is up
  CFastBitmap up_, down_, am_, pm_;
  std::array<CFastBitmap, 13> tiles_;        // 0..12 as the fields show them
  std::array<CFastBitmap, 13> focus_tiles_;  // the same on the focused field
};

// CAboutView (screen 0): the name, version, address and notice in dot-matrix text, a moon that
// runs through its phases and a band of day beads sliding along the bottom, on a 100 ms timer,
// until a tap goes back.
#pragma once

#include <array>

#include "frame/view.h"
#include "gfx/fast_bitmap.h"

class CAboutView : public CPlainView_ {
 public:
  CAboutView() : CPlainView_(false) {}
  void OnActivate() override;
  bool OnDeactivate() override;
  bool OnMessage(ce::HWND window, ce::UINT message, ce::WPARAM wparam, ce::LPARAM lparam) override;

  int SpriteFrame() const { return sprite_frame_; }
  int GrowIndex() const { return grow_index_; }
  int ShrinkIndex() const { return shrink_index_; }
  int BandX() const { return band_x_; }

 private:
  void Step();
  void StopTimer();

  int sprite_frame_ = 0;
  int grow_index_ = 0;
  int shrink_index_ = 18;
  int band_x_ = 235;
  bool timer_running_ = false;
  std::array<CFastBitmap, 18> sprites_;
  std::array<CFastBitmap, 20> grow_;
  std::array<CFastBitmap, 19> shrink_;
  CFastBitmap eraser_;
};

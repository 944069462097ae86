#include "tools/about_view.h"

#include <string>

#include "frame/document.h"
#include "frame/ui_resources.h"
#include "gfx/dot_font.h"
#include "gfx/graphic_buffer.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr ce::UINT_PTR kAnimationTimer = 1;
constexpr uint16_t kDarkBlue = 200;
constexpr uint16_t kOrange = 65000;

void Cut(const CFastBitmap& from, CFastBitmap& to, int32_t x, int32_t y, uint16_t w, uint16_t h) {
  to.Allocate(w, h);
  GraphicBuffer::Blit(from.Pixels(), to.Pixels(), {0, 0, w, h}, {x, y, x + w, y + h});
}

}  // namespace

void CAboutView::OnActivate() {
  active_ = true;
  band_x_ = 235;
  sprite_frame_ = 0;
  grow_index_ = 0;
  shrink_index_ = 18;
  SetFrameInterval(70);
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  GraphicBuffer* main = buffers->GetMainBuffer();
  SetDrawTarget(main);

  {
    CFastBitmap sheet;
    sheet.Load(kImgAboutMoons);
    for (int k = 0; k < 18; ++k) Cut(sheet, sprites_[k], (k % 6) * 32, (k / 6) * 32, 32, 32);
    CFastBitmap band;
    band.Load(kImgAboutBand);
    for (int i = 0; i < 20; ++i) Cut(band, grow_[i], 0, 0, static_cast<uint16_t>(5 * (i + 1)), 14);
    for (int i = 0; i < 19; ++i) {
      const uint16_t w = static_cast<uint16_t>(5 * (i + 1));
      Cut(band, shrink_[i], 100 - w, 0, w, 14);
    }
  }
  CFastBitmap background;
  background.Load(kImgBackground);
  Cut(background, eraser_, 0, 0, 240, 14);
  background.Draw(0, 0);
  {
    CFastBitmap emblem;
    emblem.Load(kImgAboutEmblem);
    const uint16_t key = emblem.Pixels()->At(1, 1);
    GraphicBuffer::BlitKeyed(emblem.Pixels(), main, {50, 130}, {0, 0, 130, 22}, key);
  }
  buffers->Present();

  const std::u16string version = std::u16string(LoadString(kStrVersionMajor)) + u"." +
                                 std::u16string(LoadString(kStrVersionMinor));
  DrawDotText(*main, LoadString(kStrTitle), 100, 40, kDarkBlue);
  DrawDotText(*main, version.c_str(), 98, 50, kDarkBlue);
  DrawDotText(*main, kTextVisit, 95, 90, kOrange);
  DrawDotText(*main, LoadString(kStrAboutAddress), 30, 100, kOrange);
  DrawDotText(*main, LoadString(kStrAboutNotice), 43, 180, kDarkBlue);
  buffers->Present();

  ce::SetTimer(CDocument_::GetMainWnd(), kAnimationTimer, 100, nullptr);
  timer_running_ = true;
}

void CAboutView::StopTimer() {
  if (!timer_running_) return;
  ce::KillTimer(CDocument_::GetMainWnd(), kAnimationTimer);
  timer_running_ = false;
}

bool CAboutView::OnDeactivate() {
  // The animation stops whenever the screen is left, also through the menu.
  StopTimer();
  return CPlainView_::OnDeactivate();
}

void CAboutView::Step() {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  sprites_[static_cast<size_t>(sprite_frame_)].Draw(180, 30);
  buffers->Present();
  sprite_frame_ = sprite_frame_ == 16 ? 0 : sprite_frame_ + 1;
  eraser_.Draw(0, 230);
  if (band_x_ >= 5) {
    grow_[static_cast<size_t>(grow_index_)].Draw(static_cast<uint16_t>(band_x_), 230);
    buffers->Present();
    if (grow_index_ < 19) ++grow_index_;
    band_x_ -= 5;
  } else {
    shrink_[static_cast<size_t>(shrink_index_)].Draw(0, 230);
    buffers->Present();
    if (shrink_index_ > 0) --shrink_index_;
    if (shrink_index_ == 0) {
      grow_index_ = 0;
      shrink_index_ = 18;
      band_x_ = 235;
    }
  }
}

bool CAboutView::OnMessage(ce::HWND, ce::UINT message, ce::WPARAM wparam, ce::LPARAM) {
  if (message == ce::WM_TIMER && wparam == kAnimationTimer) {
    Step();
    return true;
  }
  if (LeavesPictureScreen(message, wparam)) {
    StopTimer();
    CDocument_::GoBack();
    return true;
  }
  return false;
}

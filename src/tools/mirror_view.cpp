#include "tools/mirror_view.h"

#include "frame/document.h"
#include "gfx/fast_bitmap.h"
#include "gfx/graphic_buffer.h"
#include "ui/ids.h"

void CMirrorView::OnActivate() {
  active_ = true;
  SetFrameInterval(70);
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  SetDrawTarget(buffers->GetMainBuffer());
  {
    // Loaded on every visit and not kept: the picture is only needed while it is drawn.
    CFastBitmap mirror;
    mirror.Load(kImgMirror);
    mirror.Draw(0, 0);
  }
  buffers->Present();
}

bool CMirrorView::OnMessage(ce::HWND, ce::UINT message, ce::WPARAM wparam, ce::LPARAM) {
  if (!LeavesPictureScreen(message, wparam)) return false;
  CDocument_::GoBack();
  return true;
}

#include "charts/chart_look.h"

#include "frame/document.h"
#include "gfx/graphic_buffer.h"
#include "gfx/primitives.h"
#include "platform/gdi.h"
#include "ui/ids.h"

void LoadChartArrows(CFastBitmap& back, CFastBitmap& forward) {
  CFastBitmap both;
  if (!both.Load(kImgChartArrows)) return;
  const uint16_t half = static_cast<uint16_t>(both.Width() / 2);
  const uint16_t height = both.Height();
  back.Allocate(half, height);
  forward.Allocate(half, height);
  const GfxRect left{0, 0, half, height};
  const GfxRect right{half, 0, static_cast<int32_t>(2 * half), height};
  GraphicBuffer::Blit(both.Pixels(), back.Pixels(), left, left);
  GraphicBuffer::Blit(both.Pixels(), forward.Pixels(), left, right);
}

void DrawChartBox(const CFastBitmap& background, const CFastBitmap& back,
                  const CFastBitmap& forward, bool grid) {
  GraphicBuffer& screen = *CDocument_::GetScreenBuffers()->GetScreenBuffer();
  SetDrawTarget(&screen);
  background.Draw(0, 0);
  back.Draw(95, 10);
  forward.Draw(110, 10);
  for (int32_t k = 0; k <= 4; k += grid ? 1 : 4) {
    DrawHLine(screen, {30, 38 + 50 * k}, 200, kChartLineColour);
  }
  DrawVLine(screen, {30, 38}, 200, kChartLineColour);
  DrawVLine(screen, {230, 38}, 200, kChartLineColour);
}

ChartArrow ChartArrowAt(int32_t x, int32_t y) {
  if (y < 10 || y > 24) return ChartArrow::kNone;
  if (x >= 95 && x <= 109) return ChartArrow::kBack;
  if (x >= 110 && x <= 124) return ChartArrow::kForward;
  return ChartArrow::kNone;
}

void WriteChartText(ce::HDC dc, int32_t x, int32_t y, const char16_t* text, size_t length) {
  ce::ExtTextOut(dc, x, y, 0, nullptr, text, static_cast<ce::UINT>(length), nullptr);
}

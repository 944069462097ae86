#include "gfx/primitives.h"

#include <algorithm>
#include <cstdlib>

void PutPixel(GraphicBuffer& buffer, int32_t x, int32_t y, uint16_t colour) {
  if (x < 0 || y < 0 || x >= buffer.Width() || y >= buffer.Height()) return;
  buffer.At(x, y) = colour;
}

void DrawHLine(GraphicBuffer& buffer, const GfxPoint& point, int32_t length, uint16_t colour) {
  if (point.y < 0 || point.y >= buffer.Height() || length <= 0) return;
  const int64_t left = std::max<int64_t>(point.x, 0);
  const int64_t right = std::min<int64_t>(int64_t{point.x} + length, buffer.Width());
  if (left >= right) return;
  std::fill_n(buffer.Row(point.y) + left, right - left, colour);
}

void DrawVLine(GraphicBuffer& buffer, const GfxPoint& point, int32_t length, uint16_t colour) {
  if (point.x < 0 || point.x >= buffer.Width() || length <= 0) return;
  const int64_t top = std::max<int64_t>(point.y, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{point.y} + length, buffer.Height());
  if (top >= bottom) return;
  auto* p = reinterpret_cast<uint8_t*>(buffer.Row(static_cast<int32_t>(top)) + point.x);
  for (int64_t y = top; y < bottom; ++y, p += buffer.Stride()) {
    *reinterpret_cast<uint16_t*>(p) = colour;
  }
}

void DrawLine(GraphicBuffer& buffer, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
              uint16_t colour) {
  // A line whose ends are both inside lies inside: plot without checks. Otherwise each pixel is
  // checked, which only lines partly off the buffer pay for.
  const bool inside = x0 >= 0 && y0 >= 0 && x0 < buffer.Width() && y0 < buffer.Height() &&
                      x1 >= 0 && y1 >= 0 && x1 < buffer.Width() && y1 < buffer.Height();
  auto plot = [&](int64_t x, int64_t y) {
    if (inside || (x >= 0 && y >= 0 && x < buffer.Width() && y < buffer.Height())) {
      buffer.At(static_cast<int32_t>(x), static_cast<int32_t>(y)) = colour;
    }
  };
  const int64_t sx = x1 >= x0 ? 1 : -1;
  const int64_t sy = y1 >= y0 ? 1 : -1;
  const int64_t dx = std::llabs(int64_t{x1} - x0);
  const int64_t dy = std::llabs(int64_t{y1} - y0);
  int64_t x = x0;
  int64_t y = y0;
  if (dx >= dy) {
    if (dx == 0) {
      plot(x, y);
      return;
    }
    int64_t e = 2 * dy - dx;
    do {
      plot(x, y);
      if (e >= 0) {
        y += sy;
        e -= 2 * dx;
      }
      x += sx;
      e += 2 * dy;
    } while (x != x1);
  } else {
    int64_t e = 2 * dx - dy;
    do {
      plot(x, y);
      if (e >= 0) {
        x += sx;
        e -= 2 * dy;
      }
      y += sy;
      e += 2 * dx;
    } while (y != y1);
  }
  plot(x, y);
}

void FillCircle(GraphicBuffer& buffer, const GfxPoint& centre, int32_t radius, uint16_t colour) {
  const int64_t cx = centre.x;
  const int64_t cy = centre.y;
  // Every span group reaches at least radius / sqrt(2) from the centre; a disc larger than that
  // around a buffer this size has none that fits.
  if (radius <= 0 || int64_t{radius} * 7 / 10 > std::max(buffer.Width(), buffer.Height())) return;
  auto span = [&](int64_t left, int64_t y, int64_t length) {
    DrawHLine(buffer, {static_cast<int32_t>(left), static_cast<int32_t>(y)},
              static_cast<int32_t>(length), colour);
  };
  auto group = [&](int64_t a, int64_t b) {
    const int64_t m = std::max(a, b);
    if (cx - m < 0 || cx + m >= buffer.Width() || cy - m < 0 || cy + m >= buffer.Height()) return;
    span(cx - a, cy + b, 2 * a);
    span(cx - b, cy + a, 2 * b);
    span(cx - b, cy - a, 2 * b);
    span(cx - a, cy - b, 2 * a);
  };
  int64_t a = 0;
  int64_t b = radius;
  int64_t d = 3 - 2 * int64_t{radius};
  while (a < b) {
    group(a, b);
    if (d < 0) {
      d += 4 * a + 6;
    } else {
      d += 4 * (a - b) + 10;
      --b;
    }
    ++a;
  }
  if (a == b) group(a, b);
}

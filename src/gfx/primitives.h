// Pixel-level drawing into a GraphicBuffer: single pixels, horizontal and vertical runs, straight
// lines and filled discs. Colours are written unchanged. Pixels that would fall outside the
// buffer are left out; each run is cut to the buffer once, never checked pixel by pixel.
#pragma once

#include <cstdint>

#include "gfx/graphic_buffer.h"

void PutPixel(GraphicBuffer& buffer, int32_t x, int32_t y, uint16_t colour);

// `length` pixels from the point to the right, ending at (x + length - 1, y).
void DrawHLine(GraphicBuffer& buffer, const GfxPoint& point, int32_t length, uint16_t colour);

// `length` pixels from the point downwards.
void DrawVLine(GraphicBuffer& buffer, const GfxPoint& point, int32_t length, uint16_t colour);

// A Bresenham line with both ends included. On a tie the minor coordinate steps at once:
// (0, 0)-(2, 1) lights (0, 0), (1, 1), (2, 1).
void DrawLine(GraphicBuffer& buffer, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
              uint16_t colour);

// A disc drawn by the midpoint circle in horizontal spans, one pixel narrower on the right than
// on the left. A group of four spans that would reach outside the buffer is left out whole, so a
// disc near an edge loses whole rows rather than being cut. Radius 0 or less draws nothing.
void FillCircle(GraphicBuffer& buffer, const GfxPoint& centre, int32_t radius, uint16_t colour);

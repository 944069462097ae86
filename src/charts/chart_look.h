// What both chart screens share: the frame with its arrows, and the arrows' tap areas.
#pragma once

#include <cstdint>

#include "gfx/fast_bitmap.h"
#include "platform/types.h"

inline constexpr uint16_t kChartLineColour = 200;  // dark blue, RGB 5-6-5
inline constexpr uint16_t kChartDotColour = 6000;  // green

// Cuts the back and forward arrows out of their shared 28 x 14 picture.
void LoadChartArrows(CFastBitmap& back, CFastBitmap& forward);

// Background, arrows and the plot box into the draw target; `grid` adds the three inner lines.
void DrawChartBox(const CFastBitmap& background, const CFastBitmap& back,
                  const CFastBitmap& forward, bool grid);

enum class ChartArrow { kNone, kBack, kForward };
ChartArrow ChartArrowAt(int32_t x, int32_t y);

// Text written on the window's device context at (x, y), in the context's font and colours.
void WriteChartText(ce::HDC dc, int32_t x, int32_t y, const char16_t* text, size_t length);

// The rules of the two chart screens, free of the window system: the length axis, bar heights,
// bar places and pages of Cycle Charts, and the temperature ticks, their labels and the place of
// a reading's dot in Temperature Charts. The screens only draw what these return.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cycles/day_number.h"

// ---- Cycle Charts ----

inline constexpr int32_t kChartLeft = 30;
inline constexpr int32_t kChartTop = 38;
inline constexpr int32_t kChartBottom = 238;
inline constexpr int32_t kChartSize = 200;
inline constexpr size_t kCyclesPerPage = 12;

struct LengthAxisLine {
  int32_t y = 0;
  int32_t label = 0;
  int32_t label_x = 0;
};

struct LengthAxis {
  // Whole pixels per day; 0 for a spread too wide for one pixel a day.
  int32_t scale = 0;
  // Pixels per day as drawn: the whole-number scale, or 200 / (hi - lo + 4) when that is 0.
  double pixels_per_day = 0.0;
  int32_t pitch = 0;
  int32_t base = 0;  // the length of the bottom line
  std::vector<LengthAxisLine> lines;
};

// The axis for lengths lo..hi over `count` cycles in all.
LengthAxis LayOutLengthAxis(int32_t lo, int32_t hi, size_t count);

// Height of the bar of `length` when `low` is the shortest length the scale starts from; always
// 0..200, and its top meets the axis line of its length.
int32_t BarHeight(const LengthAxis& axis, int32_t length, int32_t low);

// x of the bar at `index` (0 = the page's first) of a page of `n` bars: the first page and pages
// turned forward run from x = 40 rightwards, pages turned back end at x = 220.
int32_t BarX(const LengthAxis& axis, size_t index, size_t n, bool backward);

struct CyclePage {
  size_t first = 0;  // position of the page's first cycle, oldest = 0
  size_t count = 0;  // cycles on the page
  bool operator==(const CyclePage&) const = default;
};

CyclePage FirstCyclePage(size_t count);
// The page before or after `page`; `page` itself when there is none.
CyclePage CyclePageBack(const CyclePage& page, size_t count);
CyclePage CyclePageForward(const CyclePage& page, size_t count);

// Whether the whole history sets the scale: always with the min/max option, and while all
// cycles fit on one page.
bool UsesOverallRange(bool show_min_max, size_t count);

// ---- Temperature Charts ----

inline constexpr int32_t kDaysShown = 25;
inline constexpr int32_t kTicks = 5;

// v formatted with one decimal and read back.
double ToTenth(double v);

struct AxisLabel {
  int32_t k = 0;       // grid line 0 (top) .. 4
  double value = 0.0;  // degrees Celsius
  bool whole = false;  // one of the fixed labels of an empty window
};

struct AxisTicks {
  std::array<double, kTicks> tick{};
  int32_t set = 0;  // ticks 0 .. set - 1 belong to this drawing
  std::vector<AxisLabel> labels;
};

// The five ticks for readings min..max; `any` false for a window without readings, which gets
// the fixed labels and sets no tick.
AxisTicks DrawAxisLabels(bool any, double min, double max);

// Text of a label on the Celsius or Fahrenheit scale.
std::u16string AxisLabelText(const AxisLabel& label, bool celsius);

// y of the dot of reading t on the axis; always inside the plot box (38..238).
int32_t ReadingY(const AxisTicks& ticks, double t);

// The last day of the window `pages` pages of 25 days after the one ending on `last` (-1: back,
// +1: forward, 0: that window itself). The windows keep to the days that have dates, 1 January
// 1582 to 31 December 9366, as the calendar's months do: a page past either end is the window
// at that end, so that no day shows another's date.
DayNumber TempWindowEnd(DayNumber last, int32_t pages);

// x of the dot of day column i, and the column of a tap at x (30..229 gives 0..24).
inline int32_t ReadingX(int32_t column) {
  return 33 + 8 * column;
}
inline int32_t TappedColumn(int32_t x) {
  return (x - kChartLeft) / 8;
}

// The value of a day's detail: "36.6 °C", or the reading in Fahrenheit with " °F".
std::u16string DetailValueText(double celsius_value, bool celsius);

// What the Cycle View draws for one cycle, worked out without drawing anything: the rows of the
// time line (one tick per day, the period and ovulation marks, the month split), the heights of
// the two bars, and every text with its place. The screen only blits pictures and runs where this
// says. All places are pixels of the 240 x 268 screen area.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cycles/cycle_records.h"
#include "cycles/day_number.h"

// The colour of every line of the time line (RGB 5-6-5).
inline constexpr uint16_t kTimeLineColour = 200;

// A horizontal run of `length` pixels drawn rightwards from (x, y).
struct TimeLineRun {
  int32_t x = 0;
  int32_t y = 0;
  int32_t length = 0;
  bool operator==(const TimeLineRun&) const = default;
};

// A text with the top-left corner of its cell at (x, y); `vertical` texts use the turned font and
// run upwards from y.
struct TimeLineText {
  int32_t x = 0;
  int32_t y = 0;
  std::u16string text;
  bool vertical = false;
  bool operator==(const TimeLineText&) const = default;
};

struct CycleDrawing {
  // False for a length outside 14..40: the warning sign and the notice replace the time line.
  bool drawable = false;

  // The time line (only when drawable).
  int32_t day_height = 0;            // p = 268 / L; the last days are one pixel taller
  std::vector<int32_t> day_bottoms;  // the row under day k, for k = 0 .. L - 1
  int32_t month_split_day = -1;      // the day whose bottom ends the start month; -1: none
  // The start month's piece of the strip, 14 pixels wide at (5, 14); 0 when not drawn.
  int32_t strip_piece_height = 0;
  int32_t period_y = 0;           // yPeriod: 6 above the end-of-period line
  int32_t ovulation_start_y = 0;  // 6 above the line opening the window
  int32_t ovulation_end_y = 0;    // 6 above the line closing it
  // Every line, in drawing order; all in kTimeLineColour.
  std::vector<TimeLineRun> runs;
  // The ovulation bar at (65, ovulation_start_y + 7) and the period bar at (65, 1): their
  // heights; the last row of each is left black.
  int32_t ovulation_bar_height = 0;
  int32_t period_bar_height = 0;

  // Texts written over the presented picture: the month names in the turned font, the rest in
  // the small bold font.
  std::vector<TimeLineText> texts;
};

// The plan for drawing `cycle` (its start, period length and stored length).
CycleDrawing PlanCycleDrawing(const CycleRecord& cycle);

// The day, counted from 0 at the start, whose bottom ends the start month, when the cycle's last
// day falls in another month; -1 otherwise.
int32_t MonthSplitDay(DayNumber start, int32_t cycle_length);

// The arrows on the month strip, as pen zones.
enum class CycleArrow { kNone, kOlder, kNewer };
CycleArrow ArrowAt(int32_t x, int32_t y);

// ShownCycleIndex counts back from the newest cycle (0). It is kept within the stored cycles
// before any read: a position beyond the oldest, left after deletions, shows the oldest.
int32_t ClampShownCycleIndex(int32_t index, uint32_t count);
// The record position (0: the oldest) of the cycle at a clamped index.
uint32_t ShownCyclePosition(int32_t index, uint32_t count);
// The index after an arrow tap; unchanged at either end and with fewer than two cycles.
int32_t StepShownCycle(int32_t index, uint32_t count, CycleArrow arrow);

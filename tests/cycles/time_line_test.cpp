// The Cycle View's time line as a plan: rows of the days and marks, month splits, the notice
// for lengths outside 14..40, the arrows' zones and the shown cycle's index.
#include "cycles/time_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "support/days.h"

namespace {

using calvira::testing::Day;

bool HasRun(const CycleDrawing& d, TimeLineRun run) {
  return std::find(d.runs.begin(), d.runs.end(), run) != d.runs.end();
}

std::string Utf8(const std::u16string& s) {
  return std::string(s.begin(), s.end());  // the time line's texts are ASCII
}

// The text placed at (x, y), or "(none)".
std::string TextAt(const CycleDrawing& d, int32_t x, int32_t y) {
  for (const TimeLineText& t : d.texts) {
    if (t.x == x && t.y == y) return Utf8(t.text);
  }
  return "(none)";
}

TEST(TimeLine, EveryValidLengthFillsTheScreenWithShortDaysFirst) {
  for (int32_t length = 14; length <= 40; ++length) {
    const CycleDrawing d = PlanCycleDrawing({Day(2003, 3, 1), 5, length});
    const int32_t p = 268 / length;
    ASSERT_EQ((std::tuple{d.drawable, d.day_height, d.day_bottoms.size()}),
              std::tuple(true, p, static_cast<size_t>(length)));
    int32_t top = 0, tall_days = 0;
    for (int32_t k = 0; k < length; ++k) {
      const int32_t height = d.day_bottoms[k] - top;
      ASSERT_TRUE(height == p || height == p + 1) << length << " day " << k;
      if (height == p) {
        EXPECT_EQ(tall_days, 0) << length << ": a short day after a tall one";
      }
      tall_days += height == p + 1;
      // Each day's tick is a 20-pixel run at its top.
      EXPECT_TRUE(HasRun(d, {45, top, 20})) << length << " day " << k;
      top = d.day_bottoms[k];
    }
    // The remainder 268 mod L is spread over the last days, give or take the one day that the
    // floating-point remainder decides.
    EXPECT_TRUE(top == 267 || top == 268) << length;
    EXPECT_TRUE(HasRun(d, {45, 0, 35}) && HasRun(d, {45, 267, 35})) << length;
    // The ovulation lines close days L/2 - 2 and L/2 + 4.
    EXPECT_TRUE(HasRun(d, {45, d.day_bottoms[length / 2 - 2], 30}) &&
                HasRun(d, {45, d.day_bottoms[length / 2 + 4], 30}))
        << length;
    // Both bars fit the screen area where they are drawn.
    EXPECT_EQ(d.ovulation_bar_height, d.ovulation_end_y - d.ovulation_start_y) << length;
    EXPECT_TRUE(d.ovulation_start_y + 7 + d.ovulation_bar_height <= 268 &&
                1 + d.period_bar_height <= 268)
        << length;
  }
}

TEST(TimeLine, A28DayCycleFromFirstOfMarch2004) {
  // Its geometry is the Cycle View scenarios'; here the texts and where they go.
  const CycleDrawing d = PlanCycleDrawing({Day(2004, 3, 1), 5, 28});
  const std::tuple<int32_t, int32_t, const char*> texts[] = {
      {80, 0, "Start"},      {120, 0, "3/1/04"},          {80, 252, "End"},
      {120, 252, "3/28/04"}, {196, 235, "Length"},        {215, 252, "28"},
      {80, 111, "Start"},    {120, 111, "3/14/04"},       {80, 171, "End"},
      {120, 171, "3/19/04"}, {80, 141, "Ovulation"},      {80, 39, "End"},
      {120, 39, "3/5/04"},   {80, 19, "Period  5  days"}, {22, 26, "Mar"},
      {22, 260, "Mar"},
  };
  for (const auto& [x, y, text] : texts) EXPECT_EQ(TextAt(d, x, y), text) << x << "," << y;
  for (const TimeLineText& t : d.texts) EXPECT_EQ(t.vertical, t.x == 22) << Utf8(t.text);
}

TEST(TimeLine, MonthSplits) {
  // The start; the length; the day the month changes after and the months named at the top
  // and at the bottom.
  const std::tuple<DayNumber, int32_t, int32_t, const char*, const char*> cases[] = {
      {Day(2003, 1, 20), 28, 11, "Jan", "Feb"},
      {Day(2004, 2, 15), 28, 14, "Feb", "Mar"},  // leap year: 29 days in February
      {Day(2003, 2, 15), 28, 13, "Feb", "Mar"},
      {Day(2000, 2, 10), 28, 19, "Feb", "Mar"},  // divisible by 400: a leap year
      {Day(2100, 2, 10), 28, 18, "Feb", "Mar"},  // divisible by 100 only: not one
      {Day(2003, 6, 20), 28, 10, "Jun", "Jul"},
      {Day(2003, 7, 1), 31, -1, "Jul", "Jul"},  // ends on 31 July: one month
      {Day(2003, 12, 20), 30, 11, "Dec", "Jan"},
      {Day(2003, 8, 31), 28, 0, "Aug", "Sep"},
      {Day(2003, 1, 31), 40, 0, "Jan", "Mar"},  // over February: only the end month is named
  };
  for (const auto& [start, length, split_day, top, bottom] : cases) {
    SCOPED_TRACE(Utf8(FormatDate(start)));
    EXPECT_EQ(MonthSplitDay(start, length), split_day);
    const CycleDrawing d = PlanCycleDrawing({start, 5, length});
    EXPECT_EQ(TextAt(d, 22, 26), top);
    EXPECT_EQ(TextAt(d, 22, 260), bottom);
    if (split_day < 0) continue;
    const int32_t y = d.day_bottoms[split_day];
    EXPECT_TRUE(HasRun(d, {5, y, 40}));
    // The start month's colour reaches down to the split, unless the split hides under the
    // upper arrow; for 20 January, 12 days of 9 pixels.
    EXPECT_EQ(d.strip_piece_height, y > 14 ? y - 14 : 0);
  }
  EXPECT_EQ(PlanCycleDrawing({Day(2003, 1, 20), 5, 28}).strip_piece_height, 94);
}

TEST(TimeLine, LengthsOutside14To40GetTheNoticeInsteadOfTheTimeLine) {
  const DayNumber start = Day(2003, 1, 1);
  for (int32_t length : {13, 41, 58, 5, 0}) {
    SCOPED_TRACE(length);
    const CycleDrawing d = PlanCycleDrawing({start, 5, length});
    EXPECT_EQ((std::tuple{d.drawable, d.runs.size(), d.texts.size()}), std::tuple(false, 0u, 12u));
    // The seven lines of the notice are drawn in the scenario; here the texts that vary.
    EXPECT_EQ(TextAt(d, 60, 220), "Cycle length " + std::to_string(length) + " days");
    EXPECT_EQ(TextAt(d, 120, 0), "1/1/03");
    EXPECT_EQ(TextAt(d, 120, 252), Utf8(FormatDate(start + length - 1)));
  }
}

TEST(TimeLine, APeriodReachingPastItsCycleLeavesTheMarkAtTheTop) {
  // Period, length; the mark's y and the bar's height.
  const std::tuple<int32_t, int32_t, int32_t, int32_t> cases[] = {
      {0, 28, 9, 15},      // no period day: the mark stays at p
      {29, 28, 9, 15},     // ends after the cycle
      {28, 28, 261, 267},  // ends on the last day
      {15, 15, 262, 267},  // the last day ends at 268: the bar is kept on the screen
  };
  for (const auto& [period, length, period_y, bar] : cases) {
    const CycleDrawing d = PlanCycleDrawing({Day(2003, 1, 1), period, length});
    EXPECT_EQ(std::tuple(d.period_y, d.period_bar_height), std::tuple(period_y, bar)) << period;
    EXPECT_TRUE(HasRun(d, {45, period_y + 6, 30})) << period << "/" << length;
  }
}

TEST(TimeLine, ArrowZones) {
  const auto older = CycleArrow::kOlder, newer = CycleArrow::kNewer, none = CycleArrow::kNone;
  const std::tuple<int32_t, int32_t, CycleArrow> cases[] = {
      {5, 0, older},    {19, 14, older}, {12, 7, older},   {4, 7, none},
      {20, 7, none},    {12, 15, none},  {12, 253, none},  {5, 254, newer},
      {19, 268, newer}, {12, 269, none}, {100, 100, none},
  };
  for (const auto& [x, y, arrow] : cases) EXPECT_EQ(ArrowAt(x, y), arrow) << x << "," << y;
}

// Stepping and clamping within the list are the Cycle View scenarios' (the arrows at both ends,
// a kept cycle that was deleted); here the indexes no screen should hand over.
TEST(TimeLine, ShownCycleIndexOutOfRangeStaysInTheList) {
  EXPECT_EQ((std::tuple{StepShownCycle(0, 0, CycleArrow::kOlder), ClampShownCycleIndex(5, 0),
                        ClampShownCycleIndex(-1, 3), ShownCyclePosition(9, 3)}),
            std::tuple(0, 0, 0, 0u));
}

}  // namespace

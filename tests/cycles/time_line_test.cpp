// The Cycle View's time line as a plan: rows of the days and marks, month splits, the notice
// for lengths outside 14..40, the arrows' zones and the shown cycle's index.
#include "cycles/time_line.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/days.h"

namespace {

using calvira::testing::Day;

bool HasRun(const CycleDrawing& d, TimeLineRun run) {
  return std::find(d.runs.begin(), d.runs.end(), run) != d.runs.end();
}

// The text placed at (x, y), or "(none)".
std::u16string TextAt(const CycleDrawing& d, int32_t x, int32_t y) {
  for (const TimeLineText& t : d.texts) {
    if (t.x == x && t.y == y) return t.text;
  }
  return u"(none)";
}

std::string Utf8(const std::u16string& s) {
  return std::string(s.begin(), s.end());  // the time line's texts are ASCII
}

TEST(TimeLine, EveryValidLengthFillsTheScreenWithShortDaysFirst) {
  for (int32_t length = 14; length <= 40; ++length) {
    const CycleDrawing d = PlanCycleDrawing({Day(2003, 3, 1), 5, length});
    ASSERT_TRUE(d.drawable) << length;
    const int32_t p = 268 / length;
    EXPECT_EQ(d.day_height, p) << length;
    ASSERT_EQ(d.day_bottoms.size(), static_cast<size_t>(length));
    int32_t top = 0;
    int32_t tall_days = 0;
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
    EXPECT_TRUE(HasRun(d, {45, d.day_bottoms[length / 2 - 2], 30})) << length;
    EXPECT_TRUE(HasRun(d, {45, d.day_bottoms[length / 2 + 4], 30})) << length;
    EXPECT_EQ(d.ovulation_bar_height, d.ovulation_end_y - d.ovulation_start_y) << length;
    // Both bars fit the screen area where they are drawn.
    EXPECT_LE(d.ovulation_start_y + 7 + d.ovulation_bar_height, 268) << length;
    EXPECT_LE(1 + d.period_bar_height, 268) << length;
  }
}

TEST(TimeLine, A28DayCycleFromFirstOfMarch2004) {
  const CycleDrawing d = PlanCycleDrawing({Day(2004, 3, 1), 5, 28});
  EXPECT_EQ(d.day_height, 9);
  EXPECT_EQ(d.day_bottoms[12], 117);
  EXPECT_EQ(d.day_bottoms[18], 177);
  EXPECT_EQ(d.ovulation_start_y, 111);
  EXPECT_EQ(d.ovulation_end_y, 171);
  EXPECT_EQ(d.period_y, 39);  // the bottom of day 4, less 6
  EXPECT_TRUE(HasRun(d, {45, 45, 30}));
  EXPECT_EQ(d.period_bar_height, 45);
  EXPECT_EQ(d.ovulation_bar_height, 60);
  EXPECT_EQ(d.month_split_day, -1);
  EXPECT_EQ(d.strip_piece_height, 0);

  struct Expected {
    int32_t x, y;
    const char16_t* text;
  };
  for (const Expected& e : {
           Expected{80, 0, u"Start"},
           Expected{120, 0, u"3/1/04"},
           Expected{80, 252, u"End"},
           Expected{120, 252, u"3/28/04"},
           Expected{196, 235, u"Length"},
           Expected{215, 252, u"28"},
           Expected{80, 111, u"Start"},
           Expected{120, 111, u"3/14/04"},
           Expected{80, 171, u"End"},
           Expected{120, 171, u"3/19/04"},
           Expected{80, 141, u"Ovulation"},
           Expected{80, 39, u"End"},
           Expected{120, 39, u"3/5/04"},
           Expected{80, 19, u"Period  5  days"},
           Expected{22, 26, u"Mar"},
           Expected{22, 260, u"Mar"},
       }) {
    EXPECT_EQ(Utf8(TextAt(d, e.x, e.y)), Utf8(e.text)) << e.x << "," << e.y;
  }
  for (const TimeLineText& t : d.texts) EXPECT_EQ(t.vertical, t.x == 22) << Utf8(t.text);
}

TEST(TimeLine, MonthSplits) {
  struct Case {
    uint16_t year, month, day;
    int32_t length;
    int32_t split_day;
    const char16_t *top, *bottom;
  };
  const Case cases[] = {
      {2003, 1, 20, 28, 11, u"Jan", u"Feb"},
      {2004, 2, 15, 28, 14, u"Feb", u"Mar"},  // leap year: 29 days in February
      {2003, 2, 15, 28, 13, u"Feb", u"Mar"},
      {2000, 2, 10, 28, 19, u"Feb", u"Mar"},  // divisible by 400: a leap year
      {2100, 2, 10, 28, 18, u"Feb", u"Mar"},  // divisible by 100 only: not one
      {2003, 6, 20, 28, 10, u"Jun", u"Jul"},
      {2003, 7, 1, 31, -1, u"Jul", u"Jul"},  // ends on 31 July: one month
      {2003, 12, 20, 30, 11, u"Dec", u"Jan"},
      {2003, 8, 31, 28, 0, u"Aug", u"Sep"},
      {2003, 1, 31, 40, 0, u"Jan", u"Mar"},  // over February: only the end month is named
  };
  for (const Case& c : cases) {
    const DayNumber start = Day(c.year, c.month, c.day);
    EXPECT_EQ(MonthSplitDay(start, c.length), c.split_day) << c.month << "/" << c.day;
    const CycleDrawing d = PlanCycleDrawing({start, 5, c.length});
    EXPECT_EQ(Utf8(TextAt(d, 22, 26)), Utf8(c.top)) << c.month << "/" << c.day;
    EXPECT_EQ(Utf8(TextAt(d, 22, 260)), Utf8(c.bottom)) << c.month << "/" << c.day;
    if (c.split_day < 0) continue;
    const int32_t y = d.day_bottoms[c.split_day];
    EXPECT_TRUE(HasRun(d, {5, y, 40})) << c.month << "/" << c.day;
    // The start month's colour reaches down to the split, unless the split hides under the
    // upper arrow.
    EXPECT_EQ(d.strip_piece_height, y > 14 ? y - 14 : 0) << c.month << "/" << c.day;
  }
  // The split of 20 January: 12 days of 9 pixels.
  EXPECT_EQ(PlanCycleDrawing({Day(2003, 1, 20), 5, 28}).strip_piece_height, 94);
}

TEST(TimeLine, LengthsOutside14To40GetTheNoticeInsteadOfTheTimeLine) {
  const DayNumber start = Day(2003, 1, 1);
  for (int32_t length : {13, 41, 58, 5, 0}) {
    const CycleDrawing d = PlanCycleDrawing({start, 5, length});
    EXPECT_FALSE(d.drawable) << length;
    EXPECT_TRUE(d.runs.empty()) << length;
    // The seven lines of the notice are drawn in the scenario; here the texts that vary.
    EXPECT_EQ(Utf8(TextAt(d, 60, 220)), "Cycle length " + std::to_string(length) + " days");
    EXPECT_EQ(Utf8(TextAt(d, 80, 0)), "Start");
    EXPECT_EQ(Utf8(TextAt(d, 120, 0)), "1/1/03");
    EXPECT_EQ(Utf8(TextAt(d, 80, 252)), "End");
    EXPECT_EQ(TextAt(d, 120, 252), FormatDate(start + length - 1));
    EXPECT_EQ(d.texts.size(), 12u) << length;
  }
}

TEST(TimeLine, APeriodReachingPastItsCycleLeavesTheMarkAtTheTop) {
  const DayNumber start = Day(2003, 1, 1);
  struct Case {
    int32_t period, length;
    int32_t period_y, bar;
  };
  for (const Case& c : {
           Case{0, 28, 9, 15},      // no period day: the mark stays at p
           Case{29, 28, 9, 15},     // ends after the cycle
           Case{28, 28, 261, 267},  // ends on the last day
           Case{15, 15, 262, 267},  // the last day ends at 268: the bar is kept on the screen
       }) {
    const CycleDrawing d = PlanCycleDrawing({start, c.period, c.length});
    EXPECT_EQ(d.period_y, c.period_y) << c.period << "/" << c.length;
    EXPECT_EQ(d.period_bar_height, c.bar) << c.period << "/" << c.length;
    EXPECT_TRUE(HasRun(d, {45, c.period_y + 6, 30})) << c.period << "/" << c.length;
  }
}

TEST(TimeLine, ArrowZones) {
  struct Case {
    int32_t x, y;
    CycleArrow arrow;
  };
  for (const Case& c : {Case{5, 0, CycleArrow::kOlder}, Case{19, 14, CycleArrow::kOlder},
                        Case{12, 7, CycleArrow::kOlder}, Case{4, 7, CycleArrow::kNone},
                        Case{20, 7, CycleArrow::kNone}, Case{12, 15, CycleArrow::kNone},
                        Case{12, 253, CycleArrow::kNone}, Case{5, 254, CycleArrow::kNewer},
                        Case{19, 268, CycleArrow::kNewer}, Case{12, 269, CycleArrow::kNone},
                        Case{100, 100, CycleArrow::kNone}}) {
    EXPECT_EQ(ArrowAt(c.x, c.y), c.arrow) << c.x << "," << c.y;
  }
}

// Stepping and clamping within the list are the Cycle View scenarios' (the arrows at both ends,
// a kept cycle that was deleted); here the indexes no screen should hand over.
TEST(TimeLine, ShownCycleIndexOutOfRangeStaysInTheList) {
  EXPECT_EQ(StepShownCycle(0, 0, CycleArrow::kOlder), 0);
  EXPECT_EQ(ClampShownCycleIndex(5, 0), 0);
  EXPECT_EQ(ClampShownCycleIndex(-1, 3), 0);
  EXPECT_EQ(ShownCyclePosition(9, 3), 0u);
}

}  // namespace

// The calendar's rules without a window: grids, tap zones and the bounded steps. The month's
// title is the Calendar scenarios'.
#include "schedule/calendar.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The usual client area under the 70-pixel band of zones.
constexpr ce::RECT kGrid{0, 70, 240, 268};

TEST(Calendar, GridsOfFourFiveAndSixWeekRows) {
  // Year, month; the weekday of the 1st, the rows and their height.
  const std::tuple<int, int, int, int, int> cases[] = {
      {2015, 2, 0, 4, 49},   // a common February starting on a Sunday
      {2003, 11, 6, 6, 33},  // 30 days from a Saturday
      {2016, 1, 5, 6, 33},   // 31 days from a Friday
      {2026, 12, 2, 5, 39}, {2000, 2, 2, 5, 39},  {1900, 2, 4, 5, 39},
      {1582, 1, 5, 6, 33},  {9366, 12, 1, 5, 39},
  };
  for (const auto& [year, month, weekday, rows, row_height] : cases) {
    EXPECT_EQ(WeekdayOfFirst(year, month), weekday) << year << "-" << month;
    const MonthGrid m = LayOutMonth(year, month, kGrid);
    EXPECT_EQ(std::tuple(m.rows, m.row_height, m.column_width), std::tuple(rows, row_height, 34))
        << year << "-" << month;
  }
  EXPECT_EQ(DaysInMonth(2000, 2), 29);  // divisible by 400: a leap year
  EXPECT_EQ(DaysInMonth(1900, 2), 28);  // by 100 only: not one
  // 1 December 2026 is a Tuesday: the third column of the first row; the 31st a Thursday.
  const MonthGrid dec = LayOutMonth(2026, 12, kGrid);
  EXPECT_EQ(dec.cells[0], (ce::RECT{69, 71, 101, 108}));
  EXPECT_EQ(dec.cells[30], (ce::RECT{137, 227, 169, 264}));
  // A Sunday 1st sits in the first column; the grid's rightmost two pixels stay background.
  const MonthGrid feb = LayOutMonth(2015, 2, kGrid);
  EXPECT_EQ(feb.cells[0].left, 1);
  EXPECT_EQ(feb.cells[6].right, 237);
}

TEST(Calendar, TapsFindDaysFirstThenTheZonesAboveTheGrid) {
  const MonthGrid m = LayOutMonth(2026, 12, kGrid);
  using Z = CalendarZone;
  const std::tuple<int, int, CalendarZone, int> cases[] = {
      // x, y; zone, day
      {70, 72, Z::kDay, 1},          {100, 107, Z::kDay, 1},
      {101, 80, Z::kNone, 0},  // the two-pixel line between cells
      {140, 230, Z::kDay, 31},       {161, 5, Z::kLeave, 0},
      {203, 23, Z::kLeave, 0},       {39, 5, Z::kCurrentMonth, 0},
      {238, 23, Z::kNextYear, 0},    {4, 5, Z::kPreviousYear, 0},
      {24, 8, Z::kPreviousMonth, 0}, {36, 21, Z::kPreviousMonth, 0},
      {24, 22, Z::kNone, 0},         {206, 8, Z::kNextMonth, 0},
      {120, 14, Z::kNone, 0},  // the title plate
  };
  for (const auto& [x, y, zone, day] : cases) {
    int found = 0;
    EXPECT_EQ(ZoneAt(m, x, y, &found), zone) << x << "," << y;
    EXPECT_EQ(found, day) << x << "," << y;
  }
}

TEST(Calendar, StepsCrossYearsAndStopWhereNoDayCanBeNamed) {
  // Year, month, the step in months (m) or years (y); then whether it stepped, and where to.
  const std::tuple<int32_t, int32_t, char, int, bool, int32_t, int32_t> cases[] = {
      {2004, 1, 'm', -1, true, 2003, 12},
      {2003, 12, 'm', +1, true, 2004, 1},
      {2004, 1, 'y', +1, true, 2005, 1},
      {1582, 1, 'm', -1, false, 1582, 1},
      {1582, 1, 'y', -1, false, 1582, 1},
      {9366, 12, 'm', +1, false, 9366, 12},
      {9366, 12, 'y', +1, false, 9366, 12},
      {9366, 3, 'm', +1, true, 9366, 4},  // the last year still steps within itself
  };
  for (auto [year, month, unit, step, stepped, then_year, then_month] : cases) {
    const bool done = unit == 'm' ? StepMonth(&year, &month, step) : StepYear(&year, month, step);
    EXPECT_EQ(std::tuple(done, year, month), std::tuple(stepped, then_year, then_month));
  }
}

}  // namespace

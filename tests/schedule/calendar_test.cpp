// The calendar's rules without a window: grids, tap zones and the bounded steps. The month's
// title is the Calendar scenarios'.
#include "schedule/calendar.h"

#include <gtest/gtest.h>

namespace {

// The usual client area under the 70-pixel band of zones.
constexpr ce::RECT kGrid{0, 70, 240, 268};

TEST(Calendar, WeekdaysAndMonthLengths) {
  struct Case {
    int year, month, weekday, days;
  } const cases[] = {
      {2000, 1, 6, 31}, {2000, 2, 2, 29},  {1900, 2, 4, 28}, {2003, 11, 6, 30}, {2015, 2, 0, 28},
      {2016, 1, 5, 31}, {2026, 12, 2, 31}, {1582, 1, 5, 31}, {9366, 12, 1, 31}, {2004, 3, 1, 31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WeekdayOfFirst(c.year, c.month), c.weekday) << c.year << "-" << c.month;
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
  }
}

TEST(Calendar, GridsOfFourFiveAndSixWeekRows) {
  struct Case {
    int year, month, rows, row_height;
  } const cases[] = {
      {2015, 2, 4, 49},   // a common February starting on a Sunday
      {2003, 11, 6, 33},  // 30 days from a Saturday
      {2016, 1, 6, 33},   // 31 days from a Friday
      {2026, 12, 5, 39},
  };
  for (const Case& c : cases) {
    const MonthGrid m = LayOutMonth(c.year, c.month, kGrid);
    EXPECT_EQ(m.rows, c.rows) << c.year << "-" << c.month;
    EXPECT_EQ(m.row_height, c.row_height);
    EXPECT_EQ(m.column_width, 34);
  }
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
  struct Case {
    int x, y;
    CalendarZone zone;
    int day;
  } const cases[] = {
      {70, 72, CalendarZone::kDay, 1},          {100, 107, CalendarZone::kDay, 1},
      {101, 80, CalendarZone::kNone, 0},  // the two-pixel line between cells
      {140, 230, CalendarZone::kDay, 31},       {161, 5, CalendarZone::kLeave, 0},
      {203, 23, CalendarZone::kLeave, 0},       {39, 5, CalendarZone::kCurrentMonth, 0},
      {238, 23, CalendarZone::kNextYear, 0},    {4, 5, CalendarZone::kPreviousYear, 0},
      {24, 8, CalendarZone::kPreviousMonth, 0}, {36, 21, CalendarZone::kPreviousMonth, 0},
      {24, 22, CalendarZone::kNone, 0},         {206, 8, CalendarZone::kNextMonth, 0},
      {120, 14, CalendarZone::kNone, 0},  // the title plate
  };
  for (const Case& c : cases) {
    int day = 0;
    EXPECT_EQ(ZoneAt(m, c.x, c.y, &day), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(day, c.day) << c.x << "," << c.y;
  }
}

TEST(Calendar, StepsCrossYearsAndStopWhereNoDayCanBeNamed) {
  int32_t year = 2004, month = 1;
  EXPECT_TRUE(StepMonth(&year, &month, -1));
  EXPECT_EQ(year, 2003);
  EXPECT_EQ(month, 12);
  EXPECT_TRUE(StepMonth(&year, &month, +1));
  EXPECT_EQ(year, 2004);
  EXPECT_EQ(month, 1);
  EXPECT_TRUE(StepYear(&year, month, +1));
  EXPECT_EQ(year, 2005);
  EXPECT_EQ(month, 1);

  year = 1582, month = 1;
  EXPECT_FALSE(StepMonth(&year, &month, -1));
  EXPECT_FALSE(StepYear(&year, month, -1));
  EXPECT_EQ(year, 1582);
  EXPECT_EQ(month, 1);
  year = 9366, month = 12;
  EXPECT_FALSE(StepMonth(&year, &month, +1));
  EXPECT_FALSE(StepYear(&year, month, +1));
  EXPECT_EQ(year, 9366);
  EXPECT_EQ(month, 12);
  year = 9366, month = 3;  // the last year still steps within itself
  EXPECT_TRUE(StepMonth(&year, &month, +1));
  EXPECT_EQ(month, 4);
}

}  // namespace

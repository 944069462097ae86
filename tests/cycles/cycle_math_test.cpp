#include "cycles/cycle_math.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/days.h"

namespace {

using calvira::testing::Day;

TEST(CycleMath, DaysOfACycleAcrossMonthLeapDayAndYearEnd) {
  const DayNumber march = Day(2004, 3, 1);
  const std::pair<DayNumber, DayNumber> cases[] = {
      // got, expected
      {CycleEnd(march, 28), Day(2004, 3, 28)},
      {PeriodEnd(march, 5), Day(2004, 3, 5)},
      {OvulationFirstDay(march, 28), Day(2004, 3, 14)},
      {OvulationLastDay(march, 28), Day(2004, 3, 19)},
      // An odd length shares the window of the even length below it.
      {OvulationFirstDay(march, 29), Day(2004, 3, 14)},
      {OvulationLastDay(march, 29), Day(2004, 3, 19)},
      {PredictedCycleEnd(march, 28), Day(2004, 3, 28)},
      {CycleEnd(Day(2004, 2, 15), 28), Day(2004, 3, 13)},
      {CycleEnd(Day(2003, 2, 15), 28), Day(2003, 3, 14)},
      {CycleEnd(Day(2003, 12, 20), 30), Day(2004, 1, 18)},
      // An emptied presumed length predicts the day before the start; a one-day period ends on it.
      {PredictedCycleEnd(Day(2003, 1, 1), 0), Day(2002, 12, 31)},
      {PeriodEnd(Day(2003, 1, 1), 1), Day(2003, 1, 1)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << i;
}

}  // namespace

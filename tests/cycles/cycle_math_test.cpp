#include "cycles/cycle_math.h"

#include <gtest/gtest.h>

namespace {

DayNumber NumberOf(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n));
  return n;
}

TEST(CycleMath, ValidCycleLengthsAre14To40) {
  EXPECT_FALSE(IsValidCycleLength(13));
  EXPECT_TRUE(IsValidCycleLength(14));
  EXPECT_TRUE(IsValidCycleLength(40));
  EXPECT_FALSE(IsValidCycleLength(41));
  EXPECT_FALSE(IsValidCycleLength(0));
  EXPECT_FALSE(IsValidCycleLength(-28));
}

TEST(CycleMath, PeriodLimitFollowsHalfTheCycle) {
  struct Case {
    int32_t cycle, longest_accepted;
  };
  for (const Case c : {Case{28, 13}, Case{29, 13}, Case{30, 14}, Case{14, 6}, Case{40, 19}}) {
    EXPECT_EQ(MaxPeriodLength(c.cycle), c.longest_accepted) << c.cycle;
    EXPECT_FALSE(IsPeriodRejected(c.longest_accepted, c.cycle)) << c.cycle;
    EXPECT_TRUE(IsPeriodRejected(c.longest_accepted + 1, c.cycle)) << c.cycle;
    EXPECT_FALSE(IsPeriodRejected(0, c.cycle)) << c.cycle;
  }
  // Outside the valid lengths there is no limit at all.
  for (int32_t cycle : {13, 41, 10, 45, 0}) {
    EXPECT_FALSE(IsPeriodRejected(1, cycle)) << cycle;
    EXPECT_FALSE(IsPeriodRejected(999, cycle)) << cycle;
  }
}

TEST(CycleMath, DaysOfACycleStartingFirstOfMarch2004) {
  const DayNumber start = NumberOf(2004, 3, 1);
  EXPECT_EQ(CycleEnd(start, 28), NumberOf(2004, 3, 28));
  EXPECT_EQ(PeriodEnd(start, 5), NumberOf(2004, 3, 5));
  EXPECT_EQ(OvulationFirstDay(start, 28), NumberOf(2004, 3, 14));
  EXPECT_EQ(OvulationLastDay(start, 28), NumberOf(2004, 3, 19));
  EXPECT_EQ(PredictedCycleEnd(start, 28), start + 27);
  // An odd length shares the window of the even length below it.
  EXPECT_EQ(OvulationFirstDay(start, 29), OvulationFirstDay(start, 28));
  EXPECT_EQ(OvulationLastDay(start, 29) - OvulationFirstDay(start, 29), 5u);
}

TEST(CycleMath, CycleOverTheLeapDayAndTheYearEnd) {
  EXPECT_EQ(CycleEnd(NumberOf(2004, 2, 15), 28), NumberOf(2004, 3, 13));
  EXPECT_EQ(CycleEnd(NumberOf(2003, 2, 15), 28), NumberOf(2003, 3, 14));
  EXPECT_EQ(CycleEnd(NumberOf(2003, 12, 20), 30), NumberOf(2004, 1, 18));
  // An emptied presumed length predicts the day before the start; a period of one day ends on it.
  EXPECT_EQ(PredictedCycleEnd(NumberOf(2003, 1, 1), 0), NumberOf(2002, 12, 31));
  EXPECT_EQ(PeriodEnd(NumberOf(2003, 1, 1), 1), NumberOf(2003, 1, 1));
}

}  // namespace

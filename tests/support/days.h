// A date as the day number the records keep, for tests of the layers that store days.
#pragma once

#include <gtest/gtest.h>

#include "cycles/day_number.h"

namespace calvira::testing {

inline DayNumber Day(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n)) << year << "-" << month << "-" << day;
  return n;
}

}  // namespace calvira::testing

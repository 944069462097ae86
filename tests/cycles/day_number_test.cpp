#include "cycles/day_number.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>

#include "platform/clock.h"
#include "support/days.h"

namespace {

using calvira::testing::Day;
using Ymd = std::tuple<int, unsigned, unsigned>;

// The date of a day number, or (0, 0, 0) when it has none.
Ymd DateOf(DayNumber n) {
  uint16_t y = 0, m = 0, d = 0;
  if (!DayNumberToDate(n, y, m, d)) return {0, 0, 0};
  return {y, m, d};
}

TEST(DayNumber, RefusesInvalidDatesAndNumbersAndLeavesOutputAlone) {
  const std::tuple<uint16_t, uint16_t, uint16_t> refused[] = {
      {1900, 2, 29}, {2003, 2, 29}, {2003, 4, 31}, {2003, 6, 31}, {1581, 12, 31}, {9367, 1, 1},
      {2003, 1, 0},  {2003, 0, 1},  {2003, 13, 1}, {2003, 1, 32}, {1200, 3, 1},   {0, 0, 0}};
  for (const auto& [year, month, day] : refused) {
    DayNumber n = 12345;
    EXPECT_FALSE(DateToDayNumber(year, month, day, n)) << year << "-" << month << "-" << day;
    EXPECT_EQ(n, 12345u);
  }
  // The count starts at 1 March 1200 (number 2), a date only the inverse still reaches.
  EXPECT_EQ(DateOf(2), Ymd(1200, 3, 1));
  for (DayNumber refused_number : {0u, 1u, UINT32_MAX}) {
    uint16_t y = 7, m = 8, d = 9;
    EXPECT_FALSE(DayNumberToDate(refused_number, y, m, d));
    EXPECT_EQ(std::tuple(y, m, d), std::tuple(7, 8, 9));
  }
}

// Every date of the range, the leap days closing a 4-year and a 400-year block alike, by an
// independent calendar; beyond it, the inverse maps numbers to the right dates while the year
// fits in 16 bits and refuses them after.
TEST(DayNumber, RoundTripsEveryDateInRangeAndAgreesWithChrono) {
  using namespace std::chrono;
  const auto chrono_date = [](DayNumber n) {
    const year_month_day ymd{sys_days{days{static_cast<int64_t>(n) - 281179}}};
    return Ymd(static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
               static_cast<unsigned>(ymd.day()));
  };
  DayNumber n = Day(1582, 1, 1);
  int leap_days = 0;
  for (Ymd date = chrono_date(n); std::get<0>(date) <= 9366; date = chrono_date(++n)) {
    const auto [y, m, d] = date;
    DayNumber got = 0;
    ASSERT_TRUE(DateToDayNumber(static_cast<uint16_t>(y), static_cast<uint16_t>(m),
                                static_cast<uint16_t>(d), got))
        << y << "-" << m << "-" << d;
    ASSERT_EQ(got, n) << y << "-" << m << "-" << d;
    ASSERT_EQ(DateOf(n), date) << n;
    leap_days += m == 2 && d == 29;
  }
  EXPECT_EQ(leap_days, 1888);
  EXPECT_EQ(chrono_date(Day(1582, 1, 1)), Ymd(1582, 1, 1));
  for (DayNumber beyond : {2u, 3u, 146097u, 146098u, 146099u, 1000000u, 10000000u, 11000000u}) {
    EXPECT_EQ(DateOf(beyond), chrono_date(beyond)) << beyond;
  }
  // 31 December 65535 is the last date with a 16-bit year.
  DayNumber last = 23000000;
  while (std::get<0>(DateOf(last + 1)) != 0) ++last;
  EXPECT_EQ(DateOf(last), Ymd(65535, 12, 31));
}

// Today is the clock's date while it is in range; a number that does not convert shows as today.
TEST(FormatDate, MonthDayAndTwoDigitYearOrToday) {
  ce::clock::UseVirtual(1000, ce::SYSTEMTIME{2003, 11, 0, 20, 23, 59, 0, 0});
  EXPECT_EQ(TodayDayNumber(), 293555u);  // 20 November 2003
  const std::pair<DayNumber, const char16_t*> cases[] = {
      {Day(2003, 1, 5), u"1/5/03"},
      {Day(2003, 11, 5), u"11/5/03"},
      {Day(2000, 2, 29), u"2/29/00"},
      {Day(9366, 12, 31), u"12/31/66"},
      {0, u"11/20/03"},
      {UINT32_MAX, u"11/20/03"},
  };
  for (const auto& [number, shown] : cases) EXPECT_EQ(FormatDate(number), shown) << number;
  ce::clock::SetDate(2004, 2, 29);
  EXPECT_EQ(FormatDate(1), u"2/29/04");
  ce::clock::SetDate(1500, 6, 1);
  EXPECT_EQ(TodayDayNumber(), 0u);
  ce::clock::UseReal();
}

// On the real clock, today is the user's own calendar date. Zones 26 hours apart never share a
// date, whatever the time; the UTC date would give both the same day.
TEST(Today, IsTheLocalDateOfTheUsersTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string old = saved != nullptr ? saved : "";
  auto today_in = [](const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
    return TodayDayNumber();
  };
  const DayNumber west = today_in("WEST+12");  // twelve hours behind Greenwich
  const DayNumber east = today_in("EAST-14");  // fourteen ahead
  saved != nullptr ? ::setenv("TZ", old.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  EXPECT_GE(east - west, 1u);
  EXPECT_LE(east - west, 2u);
}

}  // namespace

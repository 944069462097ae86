#include "cycles/day_number.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include <chrono>
#include <tuple>

#include "platform/clock.h"

namespace {

struct Date {
  uint16_t year, month, day;
};

DayNumber NumberOf(Date date) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(date.year, date.month, date.day, n))
      << date.year << "-" << date.month << "-" << date.day;
  return n;
}

// The same count by an independent calendar: the Julian Day Number of the Unix epoch is 2440588.
DayNumber ChronoNumberOf(std::chrono::year_month_day date) {
  return static_cast<DayNumber>(std::chrono::sys_days{date}.time_since_epoch().count() + 2440588 -
                                2159409);
}

TEST(DayNumber, RefusesInvalidDatesAndLeavesOutputAlone) {
  const Date refused[] = {{1900, 2, 29},  {2003, 2, 29}, {2003, 4, 31}, {2003, 6, 31},
                          {1581, 12, 31}, {9367, 1, 1},  {2003, 1, 0},  {2003, 0, 1},
                          {2003, 13, 1},  {2003, 1, 32}, {1200, 3, 1},  {0, 0, 0}};
  for (const Date& date : refused) {
    DayNumber n = 12345;
    EXPECT_FALSE(DateToDayNumber(date.year, date.month, date.day, n))
        << date.year << "-" << date.month << "-" << date.day;
    EXPECT_EQ(n, 12345u);
  }
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(2000, 2, 29, n));
  EXPECT_TRUE(DateToDayNumber(1600, 2, 29, n));
  EXPECT_TRUE(DateToDayNumber(1582, 1, 1, n));
  EXPECT_TRUE(DateToDayNumber(9366, 12, 31, n));

  // The count starts at 1 March 1200 (number 2), a date only the inverse still reaches.
  uint16_t year = 0, month = 0, day = 0;
  ASSERT_TRUE(DayNumberToDate(2, year, month, day));
  EXPECT_EQ(std::tuple(year, month, day), std::tuple(1200, 3, 1));
  for (DayNumber refused_number : {0u, 1u}) {
    uint16_t y = 7, m = 8, d = 9;
    EXPECT_FALSE(DayNumberToDate(refused_number, y, m, d));
    EXPECT_EQ(y, 7);
    EXPECT_EQ(m, 8);
    EXPECT_EQ(d, 9);
  }
}

TEST(DayNumber, RoundTripsEveryDateInRangeAndAgreesWithChrono) {
  using namespace std::chrono;
  DayNumber expected = NumberOf({1582, 1, 1});
  EXPECT_EQ(expected, ChronoNumberOf(year{1582} / January / 1));
  int leap_days = 0;
  for (sys_days day = sys_days{year{1582} / January / 1};
       day <= sys_days{year{9366} / December / 31}; day += days{1}) {
    const year_month_day ymd{day};
    const auto y = static_cast<uint16_t>(static_cast<int>(ymd.year()));
    const auto m = static_cast<uint16_t>(static_cast<unsigned>(ymd.month()));
    const auto d = static_cast<uint16_t>(static_cast<unsigned>(ymd.day()));
    DayNumber n = 0;
    ASSERT_TRUE(DateToDayNumber(y, m, d, n)) << y << "-" << m << "-" << d;
    ASSERT_EQ(n, expected) << y << "-" << m << "-" << d;
    uint16_t y2 = 0, m2 = 0, d2 = 0;
    ASSERT_TRUE(DayNumberToDate(n, y2, m2, d2)) << n;
    ASSERT_EQ(std::tuple(y2, m2, d2), std::tuple(y, m, d)) << n;
    if (m == 2 && d == 29) ++leap_days;
    ++expected;
  }
  // Every leap day passed through, those closing a 4-year and a 400-year block alike.
  EXPECT_EQ(leap_days, 1888);
}

TEST(DayNumber, InverseCoversTheWholeCountWithoutWrappingTheYear) {
  // Numbers beyond the date range still map to the right dates while the year fits in 16 bits,
  // and are refused beyond; below 1582 the inverse reaches back to 1 March 1200.
  using namespace std::chrono;
  const DayNumber samples[] = {2,       3,       146097,  146098,   146099,
                               1000000, 3000000, 5000000, 10000000, 11000000};
  for (DayNumber n : samples) {
    const year_month_day ymd{sys_days{days{static_cast<int64_t>(n) - 281179}}};
    uint16_t y = 0, m = 0, d = 0;
    ASSERT_TRUE(DayNumberToDate(n, y, m, d)) << n;
    EXPECT_EQ(std::tuple(int{y}, unsigned{m}, unsigned{d}),
              std::tuple(static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                         static_cast<unsigned>(ymd.day())))
        << n;
  }
  // 31 December 65535 is the last date with a 16-bit year: 65535 - 1200 years after the start,
  // counted by the Gregorian 400-year cycle.
  DayNumber last = 23000000;
  uint16_t y = 0, m = 0, d = 0;
  while (DayNumberToDate(last + 1, y, m, d)) ++last;
  ASSERT_TRUE(DayNumberToDate(last, y, m, d));
  EXPECT_EQ(std::tuple(y, m, d), std::tuple(65535, 12, 31));
  y = 1;
  EXPECT_FALSE(DayNumberToDate(UINT32_MAX, y, m, d));
  EXPECT_EQ(y, 1);
}

class FormatDateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::clock::UseVirtual(1000, ce::SYSTEMTIME{2003, 11, 0, 20, 23, 59, 0, 0});
  }
  void TearDown() override { ce::clock::UseReal(); }
};

TEST_F(FormatDateTest, RendersMonthDayAndTwoDigitYearAndTodayForNumbersThatDoNotConvert) {
  const std::pair<DayNumber, const char16_t*> cases[] = {
      {NumberOf({2003, 1, 5}), u"1/5/03"},
      {NumberOf({2003, 11, 5}), u"11/5/03"},
      {NumberOf({2000, 2, 29}), u"2/29/00"},
      {NumberOf({9366, 12, 31}), u"12/31/66"},
      {0, u"11/20/03"},
      {UINT32_MAX, u"11/20/03"},
  };
  for (const auto& [number, shown] : cases) EXPECT_EQ(FormatDate(number), shown) << number;
}

TEST_F(FormatDateTest, TodayIsTheClocksDateWhileItIsInRange) {
  EXPECT_EQ(TodayDayNumber(), 293555u);  // 20 November 2003
  ce::clock::SetDate(2004, 2, 29);
  EXPECT_EQ(FormatDate(TodayDayNumber()), u"2/29/04");
  EXPECT_EQ(FormatDate(1), u"2/29/04");
  ce::clock::SetDate(1500, 6, 1);
  EXPECT_EQ(TodayDayNumber(), 0u);
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
  if (saved != nullptr) {
    ::setenv("TZ", old.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
  EXPECT_GE(east - west, 1u);
  EXPECT_LE(east - west, 2u);
}

}  // namespace

// Calendar-day arithmetic shared by every screen: dates are stored as day numbers, counted in the
// proleptic Gregorian calendar so that the difference of two numbers is a distance in days.
#pragma once

#include <cstdint>
#include <string>

// Days since 1 March 1200, plus 2 (equal to the Julian Day Number minus 2159409). 1 January 2000
// is 292136.
using DayNumber = uint32_t;

// Gregorian rule: divisible by 4, and not by 100 unless also by 400.
bool IsLeapYear(uint16_t year);

// Days in the month 1..12 (February has 29 in a leap year); 0 for any other month.
int32_t DaysInMonth(int32_t year, int32_t month);

// A month's short name, 1..12: the first three characters of its name ("Jan", "Jun"); empty for
// any other month.
std::u16string MonthLabel(int32_t month);

// True and n set for a real date from 1 January 1582 to 31 December 9366; false with n untouched
// otherwise.
bool DateToDayNumber(uint16_t year, uint16_t month, uint16_t day, DayNumber& n);

// The inverse of DateToDayNumber. False with the outputs untouched for n < 2 (before 1 March
// 1200) and for numbers whose year would not fit in 16 bits.
bool DayNumberToDate(DayNumber n, uint16_t& year, uint16_t& month, uint16_t& day);

// Today: the user's local calendar date (TZ honoured). 0 when the clock reads a date outside
// 1582..9366.
DayNumber TodayDayNumber();

// The date as the system formatter renders "M/d/yy" (6 to 8 characters, "1/5/03"). A number
// that does not convert shows today's date.
std::u16string FormatDate(DayNumber n);

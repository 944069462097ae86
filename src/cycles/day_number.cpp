#include "cycles/day_number.h"

#include <array>

#include "platform/clock.h"
#include "ui/texts.h"

namespace {

// Months counted from March, so that the leap day is the last day of the counting year and the
// day number needs no special case for it.
constexpr std::array<uint32_t, 12> kDaysBeforeMonth = {0,   31,  61,  92,  122, 153,
                                                       184, 214, 245, 275, 306, 337};
constexpr std::array<uint16_t, 12> kMonthLength = {31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31, 29};

constexpr uint16_t kFirstYear = 1582;
constexpr uint16_t kLastYear = 9366;

constexpr uint32_t kDaysPer400Years = 146097;
constexpr uint32_t kDaysPer100Years = 36524;
constexpr uint32_t kDaysPer4Years = 1461;
constexpr uint32_t kDaysPerYear = 365;

// The text is at most "12/31/99" plus the terminator; the buffer size is part of the format.
constexpr int kDateTextBuffer = 10;

}  // namespace

bool IsLeapYear(uint16_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2) return IsLeapYear(static_cast<uint16_t>(year)) ? 29 : 28;
  return kMonthLength[static_cast<size_t>((month + 9) % 12)];
}

std::u16string MonthLabel(int32_t month) {
  if (month < 1 || month > 12) return u"";
  return std::u16string(kTextMonthNames[month - 1]).substr(0, 3);
}

bool DateToDayNumber(uint16_t year, uint16_t month, uint16_t day, DayNumber& n) {
  if (year < kFirstYear || year > kLastYear || month == 0 || month > 12 || day == 0) return false;
  // January and February belong to the counting year that began the March before.
  const uint32_t index = month <= 2 ? month + 9u : month - 3u;
  const uint32_t y = month <= 2 ? year - 1201u : year - 1200u;
  if (day > kMonthLength[index]) return false;
  if (month == 2 && day == 29 && !IsLeapYear(year)) return false;
  n = 365 * y + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[index] + day + 1;
  return true;
}

bool DayNumberToDate(DayNumber n, uint16_t& year, uint16_t& month, uint16_t& day) {
  if (n < 2) return false;
  const uint32_t d = n - 2;
  // Years are counted in 32 bits and checked before anything is handed out: a stray number from
  // a damaged record must not come back as a plausible date with a wrapped year.
  uint32_t y = 400 * (d / kDaysPer400Years);
  uint32_t r = d % kDaysPer400Years;
  uint32_t m = 0;
  if (r == kDaysPer400Years - 1) {
    // The leap day closing a 400-year block, which the century step below cannot reach.
    y += 1600;
    m = 2;
    r = 29;
  } else {
    y += 100 * (r / kDaysPer100Years);
    r %= kDaysPer100Years;
    y += 4 * (r / kDaysPer4Years);
    r %= kDaysPer4Years;
    if (r == kDaysPer4Years - 1) {
      // The leap day closing a 4-year block.
      y += 1204;
      m = 2;
      r = 29;
    } else {
      y += r / kDaysPerYear;
      r %= kDaysPerYear;
      uint32_t index = 11;
      while (kDaysBeforeMonth[index] > r) --index;
      r = r - kDaysBeforeMonth[index] + 1;
      m = index + 3;
      if (index > 9) {
        m -= 12;
        y += 1;
      }
      y += 1200;
    }
  }
  if (y > UINT16_MAX) return false;
  year = static_cast<uint16_t>(y);
  month = static_cast<uint16_t>(m);
  day = static_cast<uint16_t>(r);
  return true;
}

DayNumber TodayDayNumber() {
  // The user's calendar date: a day of hers starts and ends at her midnight, not Greenwich's.
  ce::SYSTEMTIME now{};
  ce::GetLocalTime(&now);
  DayNumber n = 0;
  DateToDayNumber(now.wYear, now.wMonth, now.wDay, n);
  return n;
}

std::u16string FormatDate(DayNumber n) {
  // Start from today so that a number that does not convert leaves today's date in place.
  ce::SYSTEMTIME date{};
  ce::GetLocalTime(&date);
  const ce::SYSTEMTIME today = date;
  DayNumberToDate(n, date.wYear, date.wMonth, date.wDay);
  std::array<char16_t, kDateTextBuffer> text{};
  if (ce::GetDateFormat(ce::LOCALE_USER_DEFAULT, 0, &date, u"M/d/yy", text.data(),
                        kDateTextBuffer) == 0) {
    // A date the formatter cannot render (a year beyond its calendar) also shows today.
    ce::GetDateFormat(ce::LOCALE_USER_DEFAULT, 0, &today, u"M/d/yy", text.data(), kDateTextBuffer);
  }
  return std::u16string(text.data());
}

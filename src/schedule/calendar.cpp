#include "schedule/calendar.h"

#include <algorithm>

#include "cycles/day_number.h"

namespace {

constexpr int32_t kFirstYear = 1582;
constexpr int32_t kLastYear = 9366;

bool InRange(int32_t year, int32_t month) {
  return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12;
}

// Inclusive, as the zones are drawn on the picture.
bool Inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

}  // namespace

int WeekdayOfFirst(int32_t year, int32_t month) {
  // Counted from Saturday, 1 January 2000; the day count handles years before it as well.
  DayNumber first = 0;
  DayNumber reference = 0;
  if (!DateToDayNumber(static_cast<uint16_t>(year), static_cast<uint16_t>(month), 1, first) ||
      !DateToDayNumber(2000, 1, 1, reference)) {
    return 0;
  }
  const int64_t days = static_cast<int64_t>(first) - static_cast<int64_t>(reference);
  return static_cast<int>(((days % 7) + 7 + 6) % 7);
}

MonthGrid LayOutMonth(int32_t year, int32_t month, const ce::RECT& grid) {
  MonthGrid m;
  m.first_cell = WeekdayOfFirst(year, month) + 1;
  m.days = DaysInMonth(year, month);
  m.rows = (m.days + m.first_cell + 5) / 7;
  m.column_width = grid.Width() / 7;
  m.row_height = m.rows > 0 ? grid.Height() / m.rows : 0;
  for (int d = 1; d <= m.days; ++d) {
    const int index = m.first_cell + d - 2;
    const int32_t left = grid.left + (index % 7) * m.column_width;
    const int32_t top = grid.top + (index / 7) * m.row_height;
    m.cells[static_cast<size_t>(d - 1)] = {left + 1, top + 1, left + m.column_width - 1,
                                           top + m.row_height - 1};
  }
  return m;
}

std::u16string MonthTitle(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return {};
  const std::string digits = std::to_string(year);
  return MonthLabel(month) + u" " + std::u16string(digits.begin(), digits.end());
}

CalendarZone ZoneAt(const MonthGrid& month, int32_t x, int32_t y, int* day) {
  for (int d = 1; d <= month.days; ++d) {
    const ce::RECT& c = month.cells[static_cast<size_t>(d - 1)];
    if (c.Contains(x, y)) {
      if (day != nullptr) *day = d;
      return CalendarZone::kDay;
    }
  }
  if (Inside(x, y, 161, 5, 203, 23)) return CalendarZone::kLeave;
  if (Inside(x, y, 39, 5, 81, 23)) return CalendarZone::kCurrentMonth;
  if (Inside(x, y, 221, 5, 238, 23)) return CalendarZone::kNextYear;
  if (Inside(x, y, 4, 5, 21, 23)) return CalendarZone::kPreviousYear;
  if (Inside(x, y, 24, 8, 36, 21)) return CalendarZone::kPreviousMonth;
  if (Inside(x, y, 206, 8, 218, 21)) return CalendarZone::kNextMonth;
  return CalendarZone::kNone;
}

bool StepMonth(int32_t* year, int32_t* month, int delta) {
  int32_t y = *year;
  int32_t m = *month + delta;
  while (m < 1) m += 12, --y;
  while (m > 12) m -= 12, ++y;
  if (!InRange(y, m)) return false;
  *year = y;
  *month = m;
  return true;
}

bool StepYear(int32_t* year, int32_t month, int delta) {
  if (!InRange(*year + delta, month)) return false;
  *year += delta;
  return true;
}

bool MoveDay(CalendarDay* at, DayMove move) {
  if (move == DayMove::kPreviousMonth || move == DayMove::kNextMonth) {
    CalendarDay next = *at;
    if (!StepMonth(&next.year, &next.month, move == DayMove::kNextMonth ? 1 : -1)) return false;
    next.day = std::min(next.day, DaysInMonth(next.year, next.month));
    *at = next;
    return true;
  }
  const int delta = move == DayMove::kPreviousDay    ? -1
                    : move == DayMove::kNextDay      ? 1
                    : move == DayMove::kPreviousWeek ? -7
                                                     : 7;
  DayNumber n = 0;
  if (!DateToDayNumber(static_cast<uint16_t>(at->year), static_cast<uint16_t>(at->month),
                       static_cast<uint16_t>(at->day), n)) {
    return false;
  }
  uint16_t year = 0, month = 0, day = 0;
  if (!DayNumberToDate(n + static_cast<DayNumber>(delta), year, month, day) ||
      !InRange(year, month)) {
    return false;
  }
  *at = {year, month, day};
  return true;
}

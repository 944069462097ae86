// The month calendar's rules, apart from any window: the grid of a month, the title, which zone
// a tap falls in, and the steps between months and years. The screen (schedule_view) draws what
// these say and acts on the zones.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "cycles/day_number.h"
#include "platform/geometry.h"

// Gregorian, Sunday = 0 … Saturday = 6.
// DaysInMonth is the day arithmetic's (cycles/day_number.h).
int WeekdayOfFirst(int32_t year, int32_t month);

struct MonthGrid {
  int first_cell = 1;  // the weekday of the 1st, plus 1
  int days = 0;
  int rows = 0;  // week rows needed: 4, 5 or 6
  int32_t column_width = 0;
  int32_t row_height = 0;
  // Day d's cell is cells[d - 1]; two pixels of grid background separate neighbouring cells.
  std::array<ce::RECT, 31> cells{};
};

// The cells of a month laid over `grid` (client pixels): Sunday in the first column, integer
// divisions throughout, so the rightmost pixels may stay grid background.
MonthGrid LayOutMonth(int32_t year, int32_t month, const ce::RECT& grid);

// "Nov 2003": the month's short name (MonthLabel), a blank, the year.
std::u16string MonthTitle(int32_t year, int32_t month);

// Where a tap lands, tested in this order. Day cells come first; the zones above the grid are
// fixed places on the calendar's picture.
enum class CalendarZone {
  kNone,
  kDay,           // `day` says which
  kLeave,         // "Done"
  kCurrentMonth,  // "Today": back to the start-up month
  kNextYear,
  kPreviousYear,
  kPreviousMonth,
  kNextMonth,
};
CalendarZone ZoneAt(const MonthGrid& month, int32_t x, int32_t y, int* day);

// The months the calendar can show, as far as a day number can name a day: January 1582 to
// December 9366. A step that would leave that range is refused (false, nothing changed).
bool StepMonth(int32_t* year, int32_t* month, int delta);
bool StepYear(int32_t* year, int32_t month, int delta);

// The day the keyboard has chosen, and its moves: a day, a week, or a month (the day then kept
// within the new month's length). A move that would leave the range above is refused (false,
// nothing changed).
struct CalendarDay {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  bool operator==(const CalendarDay&) const = default;
};
enum class DayMove { kPreviousDay, kNextDay, kPreviousWeek, kNextWeek, kPreviousMonth, kNextMonth };
bool MoveDay(CalendarDay* at, DayMove move);

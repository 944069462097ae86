// Time: the millisecond tick counter, sleeping, the system date and time in UTC and the date
// formatter. Tests switch to a virtual clock in which sleeping advances time at once and the date
// can be set.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace ce {

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;      // 1-12
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// Milliseconds since an arbitrary start; wraps around after 49.7 days.
DWORD GetTickCount();

// Blocks for at least ms milliseconds (virtual clock: advances it and returns at once).
void Sleep(DWORD ms);
// Runs before every sleep that is not zero-length; the window system shows its frame then, so
// that what was drawn before a pause is on the screen during it.
void SetBeforeSleepHook(void (*hook)());

// The current date and time in UTC.
void GetSystemTime(SYSTEMTIME* time);
// The current date and time where the user is: the desktop's time zone, TZ honoured. This is
// the clock of "today". The virtual clock has no zone: both calls read the same time there.
void GetLocalTime(SYSTEMTIME* time);

// Renders a date by a picture: d, dd (day), M, MM (month), y, yy, yyyy (year), text in single
// quotes and any other character as itself. Returns the characters written including the
// terminator, or the size needed when out_len is 0; 0 on failure (GetLastError tells why).
int GetDateFormat(DWORD locale, DWORD flags, const SYSTEMTIME* date, const char16_t* picture,
                  char16_t* out, int out_len);

inline constexpr DWORD LOCALE_USER_DEFAULT = 0x0400;

// Control of the clock, for tests and scenario runs.
namespace clock {

// From now on time is virtual: the tick counter starts at start_tick and the system time at
// `now`; both move only through Sleep and Advance.
void UseVirtual(DWORD start_tick, const SYSTEMTIME& now);
// Back to the machine's clocks.
void UseReal();
bool IsVirtual();
// Moves virtual time forward.
void Advance(DWORD ms);
// Sets the virtual date, keeping the time of day.
void SetDate(WORD year, WORD month, WORD day);

}  // namespace clock
}  // namespace ce

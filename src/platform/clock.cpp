#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

namespace ce {
namespace {

using std::chrono::milliseconds;

struct VirtualClock {
  bool on = false;
  DWORD tick = 0;
  int64_t epoch_ms = 0;  // UTC milliseconds since 1970-01-01
};

VirtualClock& Virtual() {
  static VirtualClock clock;
  return clock;
}

int64_t ToEpochMs(const SYSTEMTIME& t) {
  using namespace std::chrono;
  const sys_days date = year_month_day{year{t.wYear}, month{t.wMonth}, day{t.wDay}};
  return duration_cast<milliseconds>(date.time_since_epoch()).count() +
         ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000LL + t.wMilliseconds;
}

SYSTEMTIME FromEpochMs(int64_t ms) {
  using namespace std::chrono;
  const sys_time<milliseconds> tp{milliseconds{ms}};
  const sys_days date = floor<days>(tp);
  const year_month_day ymd{date};
  const hh_mm_ss<milliseconds> hms{tp - date};
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
  t.wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
  t.wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
  t.wDayOfWeek = static_cast<WORD>(weekday{date}.c_encoding());
  t.wHour = static_cast<WORD>(hms.hours().count());
  t.wMinute = static_cast<WORD>(hms.minutes().count());
  t.wSecond = static_cast<WORD>(hms.seconds().count());
  t.wMilliseconds = static_cast<WORD>(hms.subseconds().count());
  return t;
}

bool IsValidDate(const SYSTEMTIME& t) {
  using namespace std::chrono;
  return year_month_day{year{t.wYear}, month{t.wMonth}, day{t.wDay}}.ok();
}

void AppendNumber(std::u16string& out, unsigned value, int min_digits) {
  std::string digits = std::to_string(value);
  while (static_cast<int>(digits.size()) < min_digits) digits.insert(digits.begin(), '0');
  for (char c : digits) out += static_cast<char16_t>(c);
}

}  // namespace

DWORD GetTickCount() {
  if (Virtual().on) return Virtual().tick;
  static const auto start = std::chrono::steady_clock::now();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<DWORD>(std::chrono::duration_cast<milliseconds>(elapsed).count());
}

namespace {
void (*g_before_sleep)() = nullptr;
}  // namespace

void SetBeforeSleepHook(void (*hook)()) {
  g_before_sleep = hook;
}

void Sleep(DWORD ms) {
  if (ms != 0 && g_before_sleep != nullptr) g_before_sleep();
  if (Virtual().on) {
    clock::Advance(ms);
    return;
  }
  if (ms == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(milliseconds(ms));
  }
}

void GetSystemTime(SYSTEMTIME* time) {
  if (!time) return;
  if (Virtual().on) {
    *time = FromEpochMs(Virtual().epoch_ms);
    return;
  }
  const auto now = std::chrono::system_clock::now();
  *time = FromEpochMs(std::chrono::duration_cast<milliseconds>(now.time_since_epoch()).count());
}

void GetLocalTime(SYSTEMTIME* time) {
  if (!time) return;
  if (Virtual().on) {
    *time = FromEpochMs(Virtual().epoch_ms);
    return;
  }
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) {
    GetSystemTime(time);
    return;
  }
  const auto ms = std::chrono::duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec);
  time->wMilliseconds = static_cast<WORD>(ms);
}

int GetDateFormat(DWORD /*locale*/, DWORD /*flags*/, const SYSTEMTIME* date,
                  const char16_t* picture, char16_t* out, int out_len) {
  if (!date || !picture || out_len < 0 || (out_len > 0 && !out) || !IsValidDate(*date)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string text;
  for (const char16_t* p = picture; *p;) {
    const char16_t c = *p;
    if (c == u'\'' && p[1] == u'\'') {
      // Two quotes in a row stand for one, inside quoted text or out of it.
      text += u'\'';
      p += 2;
      continue;
    }
    if (c == u'\'') {
      ++p;
      while (*p) {
        if (*p == u'\'' && p[1] == u'\'') {
          text += u'\'';
          p += 2;
        } else if (*p == u'\'') {
          ++p;
          break;
        } else {
          text += *p++;
        }
      }
      continue;
    }
    int run = 0;
    while (p[run] == c) ++run;
    if (c == u'd') {
      AppendNumber(text, date->wDay, run >= 2 ? 2 : 1);
    } else if (c == u'M') {
      AppendNumber(text, date->wMonth, run >= 2 ? 2 : 1);
    } else if (c == u'y') {
      if (run >= 3) {
        AppendNumber(text, date->wYear, 4);
      } else {
        AppendNumber(text, date->wYear % 100, run == 2 ? 2 : 1);
      }
    } else {
      text.append(static_cast<size_t>(run), c);
    }
    p += run;
  }
  const int needed = static_cast<int>(text.size()) + 1;
  if (out_len == 0) return needed;
  if (needed > out_len) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  text.copy(out, text.size());
  out[text.size()] = u'\0';
  return needed;
}

namespace clock {

void UseVirtual(DWORD start_tick, const SYSTEMTIME& now) {
  Virtual() = VirtualClock{true, start_tick, ToEpochMs(now)};
}

void UseReal() {
  Virtual().on = false;
}

bool IsVirtual() {
  return Virtual().on;
}

void Advance(DWORD ms) {
  Virtual().tick += ms;  // wraps around like the real counter
  Virtual().epoch_ms += ms;
}

void SetDate(WORD year, WORD month, WORD day) {
  SYSTEMTIME t = FromEpochMs(Virtual().epoch_ms);
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  Virtual().epoch_ms = ToEpochMs(t);
}

}  // namespace clock
}  // namespace ce

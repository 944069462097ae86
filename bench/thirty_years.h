// Thirty years of her records, as the benchmarks store them: a reading and a schedule day for
// each of 10,958 days, 400 cycles and 2,000 notes.
#pragma once

#include "exchange/records.h"

inline constexpr int kThirtyYearsOfDays = 10958;

inline Records ThirtyYears() {
  Records r;
  DayNumber first = 0;
  DateToDayNumber(1996, 12, 1, first);
  for (int i = 0; i < kThirtyYearsOfDays; ++i) {
    const DayNumber day = first + static_cast<DayNumber>(i);
    r.temperatures.push_back({day, 36.2 + (i % 17) * 0.05});
    r.days.push_back(
        {day, static_cast<int16_t>(i % 4), true, i % 5 ? u"" : u"headache, slept", u"8:30"});
  }
  for (int i = 0; i < 400; ++i) {
    r.cycles.push_back({first + static_cast<DayNumber>(i * 27), 5, 27});
  }
  for (int i = 0; i < 2000; ++i) {
    r.notes.push_back({static_cast<size_t>(i % 5),
                       {first + static_cast<DayNumber>(i * 5), u"Check-up, Dr. Weiss"}});
  }
  r.settings = OptionsSettings{};
  return r;
}

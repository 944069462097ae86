// The lines of Pill History: one per day with a pill, earliest first, the date padded with
// blanks so that the times line up, then the time.
#pragma once

#include <string>
#include <vector>

#include "schedule/pill_records.h"

struct PillLine {
  DayNumber day = 0;  // the day the line stands for: Delete clears this day's pill
  std::u16string text;
};

// "M/d/yy" and the filler: 12 blanks after 6 characters, 10 after 7, 8 after 8, none otherwise.
std::u16string PillLineText(const std::u16string& date_text, const std::u16string& time);

// The lines for the days that have a pill, in the order given.
std::vector<PillLine> PillHistoryLines(const std::vector<PillDay>& days);

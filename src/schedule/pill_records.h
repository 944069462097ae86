// The "Pill" database: one record per day that has any entry, {0: the day (UI4), 1: bleeding
// level (I2: 0 none, 1 slight, 2 normal, 3 heavy), 2: pill taken (BOOL), 3: remark (string),
// 4: the pill's time text (string, empty without a pill)}, visited in ascending day order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cycles/day_number.h"

struct PillDay {
  DayNumber day = 0;
  int16_t level = 0;
  bool pill = false;
  std::u16string remark;
  std::u16string time;
};

// Every day with an entry, earliest first. A record short of properties reads the missing ones
// as empty.
std::vector<PillDay> ReadPillDays();

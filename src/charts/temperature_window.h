// The chart's own access to the readings: "Temperature" (one record per day: {0: DayNumber
// (UI4), 1: degrees Celsius (R8)}, sorted by day) read for one window of days, and the working
// database "Temp" ({0: DayNumber, 1: degrees Celsius, 2: x, 3: y (I2)}) that holds the readings
// of the drawing last made with the places of their dots.
#pragma once

#include <cstdint>
#include <vector>

#include "cycles/day_number.h"

struct ChartReading {
  DayNumber day = 0;
  double celsius = 0.0;
  int32_t x = 0;  // the dot's place, 0 until laid out
  int32_t y = 0;
};

// The day of the latest reading; false when there is none.
bool LatestReadingDay(DayNumber* day);

// The readings dated first..last, oldest first. Finds the first by halving, so a window far
// back in a long history costs a few reads, not a walk from the oldest reading.
std::vector<ChartReading> ReadReadings(DayNumber first, DayNumber last);

// Replaces the content of "Temp" with `readings`, all in one transaction: one durable commit
// per drawing. False when the store refused a write; "Temp" is then as it was.
bool RebuildTempDatabase(const std::vector<ChartReading>& readings);

// The "Temperature" database: one basal-temperature reading per day, {UI4 day, R8 degrees
// Celsius}, walked in the order of the day. Every operation opens the database, works and closes
// it again; Temp History and the temperature chart read and change readings only through here.
#pragma once

#include <span>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cycles/day_number.h"

struct TemperatureReading {
  DayNumber day = 0;
  double celsius = 0.0;  // as computed when it was entered, never rounded
};

// Every reading, in ascending order of the day (ties by age): the order of the list, in which a
// row's position is its record's.
std::vector<TemperatureReading> ReadTemperatures();

// The number of readings.
uint32_t TemperatureCount();

// Stores the reading for the day: over every record of that day, or as a new record when the
// day has none, all as one unit. False with nothing changed when the store refused.
bool SaveTemperature(DayNumber day, double celsius);

// Stores many readings as SaveTemperature stores each (every record of a day overwritten, a day
// without one added), in one unit and one pass over the database, for an import. `replaced`
// counts the readings whose day had one already. False with nothing changed when the store
// refused.
bool SaveTemperatures(std::span<const TemperatureReading> readings, size_t* replaced);

// Deletes the reading at `position` (0 = the earliest day). False with nothing changed when
// there is no such reading or the store refused.
bool DeleteTemperatureAt(size_t position);

// Deletes every reading, all or none. False with nothing changed when the store refused.
bool DeleteAllTemperatures();

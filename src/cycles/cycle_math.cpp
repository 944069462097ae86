#include "cycles/cycle_math.h"

// Day numbers are unsigned and lengths signed, as in the stored records; the sums are taken in
// day-number arithmetic, so a length of 0 ends the day before the start.

bool IsValidCycleLength(int32_t cycle_length) {
  return cycle_length >= kMinValidCycleLength && cycle_length <= kMaxValidCycleLength;
}

int32_t MaxPeriodLength(int32_t cycle_length) {
  return cycle_length / 2 - 1;
}

bool IsPeriodRejected(int32_t period_length, int32_t cycle_length) {
  return IsValidCycleLength(cycle_length) && period_length > MaxPeriodLength(cycle_length);
}

DayNumber CycleEnd(DayNumber start, int32_t cycle_length) {
  return start + static_cast<DayNumber>(cycle_length) - 1;
}

DayNumber PeriodEnd(DayNumber start, int32_t period_length) {
  return start + static_cast<DayNumber>(period_length) - 1;
}

DayNumber OvulationFirstDay(DayNumber start, int32_t cycle_length) {
  return start + static_cast<DayNumber>(cycle_length / 2) - 1;
}

DayNumber OvulationLastDay(DayNumber start, int32_t cycle_length) {
  return start + static_cast<DayNumber>(cycle_length / 2) + 4;
}

DayNumber PredictedCycleEnd(DayNumber start, int32_t presumed_length) {
  return CycleEnd(start, presumed_length);
}

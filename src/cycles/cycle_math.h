// The calculations made on one cycle: which lengths count, how long a period may be, and where
// the period, the ovulation window and the cycle end. Lengths are signed like the stored record
// fields; divisions truncate toward zero.
#pragma once

#include <cstdint>

#include "cycles/day_number.h"

// Only cycle lengths in 14..40 enter the average and are drawn; the period limit applies only to
// them.
inline constexpr int32_t kMinValidCycleLength = 14;
inline constexpr int32_t kMaxValidCycleLength = 40;
// The length assumed for the newest cycle when no older cycle has a valid length.
inline constexpr int32_t kDefaultCycleLength = 28;

bool IsValidCycleLength(int32_t cycle_length);

// The longest period accepted for a cycle of valid length: cycle_length / 2 - 1.
int32_t MaxPeriodLength(int32_t cycle_length);

// True when the period must be refused with "Incorrect period length": the cycle length is valid
// and the period exceeds MaxPeriodLength.
bool IsPeriodRejected(int32_t period_length, int32_t cycle_length);

// The last day of a cycle starting on `start`.
DayNumber CycleEnd(DayNumber start, int32_t cycle_length);

// The last day of the period starting on `start`.
DayNumber PeriodEnd(DayNumber start, int32_t period_length);

// The six-day ovulation window, both days included: start + L/2 - 1 to start + L/2 + 4.
DayNumber OvulationFirstDay(DayNumber start, int32_t cycle_length);
DayNumber OvulationLastDay(DayNumber start, int32_t cycle_length);

// The predicted last day of a new cycle entered with a presumed length.
DayNumber PredictedCycleEnd(DayNumber start, int32_t presumed_length);

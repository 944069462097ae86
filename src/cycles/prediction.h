// What Prediction computes: what the stored cycles say about the next ones (the newest cycle's
// end, its length as the average, the range of all lengths), and the predicted starts over a
// period, one every "average" days after the start date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cycles/cycle_math.h"
#include "cycles/day_number.h"

// The range of stored lengths as shown next to the average: "(28)" when all are alike, else
// "(27-30)".
std::u16string LengthRangeText(int32_t min, int32_t max);

// What Prediction shows before anything is predicted.
struct PredictionBasis {
  DayNumber last_cycle_end = 0;           // the newest cycle's last day; yesterday without cycles
  int32_t average = kDefaultCycleLength;  // the newest cycle's stored length; 28 without cycles
  std::u16string range_text;              // empty without cycles
};

// Reads the stored cycles; `today` decides "yesterday" when there are none.
PredictionBasis ReadPredictionBasis(DayNumber today);

// The outcome of one Predict, in the order the user hears of it.
struct PredictionResult {
  bool zero_average = false;      // "Average cycle length must be more than zero!"
  bool start_not_before = false;  // "Start date must be earlier than the end one": list kept
  // start + a, start + 2a, ..., none after `end`; the start itself is not among them. Empty,
  // and to be shown as an empty list, when the average is 0 and the start is before the end.
  std::vector<DayNumber> days;
};

PredictionResult PredictCycleStarts(DayNumber start, DayNumber end, uint32_t average);

// The question before a predicted date is stored as a cycle, around its list line.
std::u16string AddPredictedCycleQuestion(const std::u16string& line);

// A predicted cycle is stored with a 5-day period and a 28-day length, which the recalculation
// then replaces with the real length (or, as the newest, with the average).
inline constexpr int32_t kPredictedPeriodLength = 5;

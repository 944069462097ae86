// The rules of the two cycle forms, Add New Cycle and Edit Cycle: how long their length fields
// may grow, what OK makes of the period length, and what the predicted end shows.
#pragma once

#include <cstdint>
#include <string>

#include "cycles/day_number.h"

// A length field keeps its first three characters; more are cut as they are typed.
inline constexpr size_t kLengthFieldChars = 3;
// True when the text was longer and has been cut.
bool CutLengthField(std::u16string& text);

enum class PeriodVerdict {
  kAccepted,
  kIncorrect,  // "Incorrect period length": longer than half a valid cycle less one day
  kZero,       // "Period length must be more than zero"
};
// The period against the cycle (or presumed) length, as both forms read their fields. The
// half-cycle rule is checked first, so a period of 0 is only ever refused as zero.
PeriodVerdict CheckPeriodLength(uint32_t period_length, uint32_t cycle_length);

// What the predicted end field shows: the start's own text while the presumed length is empty,
// otherwise the date of start + presumed - 1.
std::u16string PredictedEndText(DayNumber start, const std::u16string& start_text,
                                bool presumed_empty, uint32_t presumed_length);

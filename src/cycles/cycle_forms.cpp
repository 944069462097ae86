#include "cycles/cycle_forms.h"

#include <algorithm>

#include "cycles/cycle_math.h"

bool CutLengthField(std::u16string& text) {
  if (text.size() <= kLengthFieldChars) return false;
  text.resize(kLengthFieldChars);
  return true;
}

PeriodVerdict CheckPeriodLength(uint32_t period_length, uint32_t cycle_length) {
  // The fields hold at most three digits; anything larger is no valid length either way.
  const auto period = static_cast<int32_t>(std::min<uint32_t>(period_length, 99999));
  const auto cycle = static_cast<int32_t>(std::min<uint32_t>(cycle_length, 99999));
  if (IsPeriodRejected(period, cycle)) return PeriodVerdict::kIncorrect;
  if (period == 0) return PeriodVerdict::kZero;
  return PeriodVerdict::kAccepted;
}

std::u16string PredictedEndText(DayNumber start, const std::u16string& start_text,
                                bool presumed_empty, uint32_t presumed_length) {
  if (presumed_empty) return start_text;
  return FormatDate(PredictedCycleEnd(start, static_cast<int32_t>(presumed_length)));
}

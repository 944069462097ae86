#include "cycles/prediction.h"

#include "cycles/cycle_records.h"
#include "platform/text.h"
#include "ui/texts.h"

namespace {

std::u16string Decimal(int32_t value) {
  return ce::FromUtf8(std::to_string(value));
}

}  // namespace

std::u16string LengthRangeText(int32_t min, int32_t max) {
  // Appended, not a chain of operator+ on a literal: GCC 12 at -O3 warns of an overlapping copy
  // there (-Wrestrict), a false alarm that stops a Release build.
  std::u16string text = u"(";
  text += Decimal(min);
  if (min != max) {
    text += u'-';
    text += Decimal(max);
  }
  text += u')';
  return text;
}

PredictionBasis ReadPredictionBasis(DayNumber today) {
  PredictionBasis basis;
  const std::vector<CycleRecord> cycles = ReadCycles();
  int32_t min = 0;
  int32_t max = 0;
  if (cycles.empty() || !CycleLengthRange(min, max)) {
    basis.last_cycle_end = today - 1;
    return basis;
  }
  const CycleRecord& newest = cycles.back();
  basis.average = newest.cycleLength;
  basis.last_cycle_end = CycleEnd(newest.start, newest.cycleLength);
  basis.range_text = LengthRangeText(min, max);
  return basis;
}

PredictionResult PredictCycleStarts(DayNumber start, DayNumber end, uint32_t average) {
  PredictionResult result;
  result.zero_average = average == 0;
  if (start >= end) {
    result.start_not_before = true;
    return result;
  }
  if (average == 0) return result;
  // Every step stays within [start, end], so nothing here can wrap.
  const uint32_t count = (end - start) / average;
  result.days.reserve(count);
  DayNumber day = start;
  for (uint32_t k = 0; k < count; ++k) {
    day += average;
    result.days.push_back(day);
  }
  return result;
}

std::u16string AddPredictedCycleQuestion(const std::u16string& line) {
  return kTextAddDateBefore + line + kTextAddDateAfter;
}

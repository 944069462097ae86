// Reading and rewriting the cycle that the Cycle View shows, found by ShownCycleIndex (0: the
// newest). One open of "Cycles" per call, as every cycle operation does.
#pragma once

#include <cstdint>

#include "cycles/cycle_records.h"

struct ShownCycle {
  uint32_t count = 0;  // cycles stored
  int32_t index = 0;   // the index asked for, kept within the stored cycles
  bool read = false;   // `cycle` holds the record at that index
  CycleRecord cycle;
};

// The cycle at `index`, clamped to the oldest when it lies beyond it.
ShownCycle ReadShownCycle(int32_t index);

enum class PeriodRewrite {
  kUnchanged,  // the stored period already was this one: nothing written
  kWritten,
  kFailed,  // no such cycle, or the store refused the write (its report was shown)
};
// Writes `period_length` over the period of the cycle at `index` (clamped as above), keeping
// its start and its length; writes nothing when the period is unchanged.
PeriodRewrite RewriteShownPeriod(int32_t index, int32_t period_length);

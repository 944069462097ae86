#include "cycles/shown_cycle.h"

#include "cycles/time_line.h"
#include "store/ce_database.h"

namespace {

constexpr char16_t kCycles[] = u"Cycles";
constexpr ce::CEPROPID kByStart = ce::PropId(0, ce::CEVT_UI4);

// Opens "Cycles" in start order and makes the cycle at `index` current.
bool SeekShown(CCeDatabase& db, ShownCycle& shown) {
  if (!db.Open(kCycles, kByStart)) return false;
  shown.count = db.RecordCount();
  shown.index = ClampShownCycleIndex(shown.index, shown.count);
  if (shown.count == 0 || !db.SeekIndex(ShownCyclePosition(shown.index, shown.count))) {
    return false;
  }
  CCePropArray record;
  if (!db.ReadCurrRecord(record)) return false;
  // Read back, UI4 and I4 both arrive as I4; the bits are what counts.
  shown.cycle.start = static_cast<DayNumber>(record.At(0).I4());
  shown.cycle.periodLength = record.At(1).I4();
  shown.cycle.cycleLength = record.At(2).I4();
  shown.read = true;
  return true;
}

}  // namespace

ShownCycle ReadShownCycle(int32_t index) {
  ShownCycle shown;
  shown.index = index;
  CCeDatabase db;
  SeekShown(db, shown);
  db.Close();
  return shown;
}

PeriodRewrite RewriteShownPeriod(int32_t index, int32_t period_length) {
  ShownCycle shown;
  shown.index = index;
  CCeDatabase db;
  PeriodRewrite result = PeriodRewrite::kFailed;
  if (SeekShown(db, shown)) {
    if (shown.cycle.periodLength == period_length) {
      result = PeriodRewrite::kUnchanged;
    } else {
      // No recalculation follows: the period enters no length.
      CycleRecord changed = shown.cycle;
      changed.periodLength = period_length;
      if (WriteCycleRecord(db, changed, false)) result = PeriodRewrite::kWritten;
    }
  }
  db.Close();
  return result;
}

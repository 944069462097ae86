#include "cycles/cycle_records.h"

#include "platform/object_store.h"
#include "platform/reporter.h"
#include "store/ce_database.h"
#include "ui/texts.h"

int32_t AverageCycleLength = 0;

namespace {

constexpr char16_t kCycles[] = u"Cycles";
constexpr ce::CEPROPID kByStart = ce::PropId(0, ce::CEVT_UI4);

CycleRecord FromArray(const CCePropArray& record) {
  // Read back, UI4 and I4 both arrive as I4; the bits are what counts.
  CycleRecord cycle;
  cycle.start = static_cast<DayNumber>(record.At(0).I4());
  cycle.periodLength = record.At(1).I4();
  cycle.cycleLength = record.At(2).I4();
  return cycle;
}

}  // namespace

bool WriteCycleRecord(CCeDatabase& db, const CycleRecord& cycle, bool asNew) {
  CCePropArray record;
  CCePropVal value;
  value.SetUI4(cycle.start);  // UI4, or the record would drop out of the start order
  record.Append(value);
  value.SetI4(cycle.periodLength);
  record.Append(value);
  value.SetI4(cycle.cycleLength);
  record.Append(value);
  return asNew ? db.WriteNew(record) : db.WriteCurr(record);
}

std::vector<CycleRecord> ReadCycles() {
  std::vector<CycleRecord> cycles;
  CCeDatabase db;
  if (!db.Open(kCycles, kByStart)) return cycles;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (db.ReadCurrRecord(record)) cycles.push_back(FromArray(record));
  }
  db.Close();
  return cycles;
}

uint32_t CycleCount() {
  CCeDatabase db;
  db.Open(kCycles, kByStart);
  const uint32_t count = db.RecordCount();
  db.Close();
  return count;
}

AddCycleResult AddCycle(DayNumber start, int32_t periodLength, int32_t cycleLength) {
  bool duplicate = false;
  bool written = false;
  {
    CCeDatabase db;
    if (!db.Open(kCycles, kByStart)) return AddCycleResult::kWriteFailed;
    CCePropArray record;
    for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
      if (db.ReadCurrRecord(record) && FromArray(record).start == start) {
        ce::objectstore::Report(kTextCycleAlreadyExists, kTextCalvira, ce::MB_OK);
        duplicate = true;
      }
    }
    if (!duplicate) written = WriteCycleRecord(db, {start, periodLength, cycleLength}, true);
    db.Close();
  }
  if (duplicate) return AddCycleResult::kDuplicate;
  if (!written) return AddCycleResult::kWriteFailed;
  if (CycleCount() > 1) RecalculateCycles();
  return AddCycleResult::kAdded;
}

bool RecalculateCycles() {
  const std::vector<CycleRecord> cycles = ReadCycles();
  const size_t n = cycles.size();
  if (n < 2) return true;

  int32_t sum = 0;
  int32_t counted = 0;
  AverageCycleLength = 0;
  std::vector<CycleRecord> updated = cycles;
  for (size_t i = 0; i + 1 < n; ++i) {
    const int32_t length = static_cast<int32_t>(cycles[i + 1].start - cycles[i].start);
    updated[i].cycleLength = length;
    if (IsValidCycleLength(length)) {
      sum += length;
      counted += 1;
    }
  }
  if (counted == 0) counted = 1;
  AverageCycleLength = sum / counted;
  updated[n - 1].cycleLength = AverageCycleLength != 0 ? AverageCycleLength : kDefaultCycleLength;

  // One unit: a cycle list with some lengths rewritten and others not would contradict itself.
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kCycles, kByStart)) return false;
  bool ok = true;
  for (size_t i = 0; ok && i < n; ++i) {
    ok = (i == 0 || db.SeekNext()) && WriteCycleRecord(db, updated[i], false);
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

bool CycleLengthRange(int32_t& min, int32_t& max) {
  const std::vector<CycleRecord> cycles = ReadCycles();
  if (cycles.empty()) return false;
  min = max = cycles.front().cycleLength;
  for (const CycleRecord& c : cycles) {
    if (c.cycleLength < min) min = c.cycleLength;
    if (c.cycleLength > max) max = c.cycleLength;
  }
  return true;
}

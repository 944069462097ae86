#include "cycles/cycle_history.h"

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/ce_database.h"
#include "ui/texts.h"

namespace {

constexpr char16_t kCycles[] = u"Cycles";
constexpr ce::CEPROPID kByStart = ce::PropId(0, ce::CEVT_UI4);

std::u16string Decimal(int32_t value) {
  return ce::FromUtf8(std::to_string(value));
}

}  // namespace

std::u16string HistoryLine(std::u16string_view date_text, int32_t cycle_length, bool newest) {
  std::u16string line(date_text);
  if (line.size() < kHistoryDateColumn) line.append(kHistoryDateColumn - line.size(), u' ');
  line += newest ? std::u16string(kTextNotAvailable) : Decimal(cycle_length);
  return line;
}

std::vector<std::u16string> HistoryLines(std::span<const CycleRecord> cycles) {
  std::vector<std::u16string> lines;
  lines.reserve(cycles.size());
  for (size_t i = 0; i < cycles.size(); ++i) {
    lines.push_back(
        HistoryLine(FormatDate(cycles[i].start), cycles[i].cycleLength, i + 1 == cycles.size()));
  }
  return lines;
}

std::u16string HistoryAverageText(std::span<const CycleRecord> cycles) {
  if (cycles.size() < 2) return kTextNotAvailable;
  return Decimal(cycles.back().cycleLength);
}

bool DeleteCycleAt(size_t position) {
  ce::objectstore::Transaction transaction;
  uint16_t remaining = 0;
  {
    CCeDatabase db;
    if (!db.Open(kCycles, kByStart)) return false;
    const bool deleted = position < db.RecordCount() &&
                         db.SeekIndex(static_cast<ce::DWORD>(position)) && db.DeleteCurr();
    remaining = deleted ? static_cast<uint16_t>(db.RecordCount() - 1) : 0;
    db.Close();
    if (!deleted) return false;
  }
  if (remaining > 1 && !RecalculateCycles()) return false;
  return CommitChanges(transaction);
}

bool DeleteAllCycles() {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kCycles, kByStart)) return false;
  bool ok = true;
  for (uint16_t i = 0; ok && i < db.RecordCount(); ++i) ok = db.SeekFirst() && db.DeleteCurr();
  db.Close();
  return ok && CommitChanges(transaction);
}

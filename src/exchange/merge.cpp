#include "exchange/merge.h"

#include <set>

#include "platform/object_store.h"
#include "store/ce_database.h"
#include "store/settings.h"

namespace {

bool MergeCycles(const std::vector<CycleRecord>& cycles, MergeCounts* counts) {
  if (cycles.empty()) return true;
  std::set<DayNumber> stored;
  for (const CycleRecord& c : ReadCycles()) stored.insert(c.start);
  CCeDatabase db;
  if (!db.Open(u"Cycles", 0)) return false;
  bool ok = true;
  for (const CycleRecord& c : cycles) {
    if (!stored.insert(c.start).second) {
      ++counts->kept;
      continue;
    }
    if (!(ok = WriteCycleRecord(db, c, true))) break;
    ++counts->added;
  }
  db.Close();
  // Once, with every start in place; a lone cycle keeps the length it came with.
  return ok && RecalculateCycles();
}

void Count(MergeCounts* counts, size_t given, size_t replaced) {
  counts->replaced += replaced;
  counts->added += given - replaced;
}

}  // namespace

bool MergeRecords(const Records& records, MergeSummary* summary, const Progress& progress) {
  *summary = MergeSummary{};
  const size_t total = records.Count();
  size_t done = 0;
  const auto step = [&](size_t count) {
    done += count;
    if (progress) progress(done, total);
  };
  ce::objectstore::Transaction transaction;
  if (!MergeCycles(records.cycles, &summary->cycles)) return false;
  step(records.cycles.size());
  size_t replaced = 0;
  if (!SaveTemperatures(records.temperatures, &replaced)) return false;
  Count(&summary->temperatures, records.temperatures.size(), replaced);
  step(records.temperatures.size());
  if (!SavePillDays(records.days, &replaced)) return false;
  Count(&summary->days, records.days.size(), replaced);
  step(records.days.size());
  for (size_t c = 0; c < kDiaryCategoryCount; ++c) {
    std::vector<DiaryNote> notes;
    for (const CategoryNote& n : records.notes) {
      if (n.category == c) notes.push_back(n.note);
    }
    if (notes.empty()) continue;
    if (!SaveNotes(c, notes, &replaced)) return false;
    Count(&summary->notes, notes.size(), replaced);
    step(notes.size());
  }
  if (records.settings) {
    Settings settings;
    if (!ReadSettings(&settings)) return false;
    const OptionsSettings before{settings.scale == 1, !settings.logo_disabled,
                                 settings.show_min_max};
    if (before != *records.settings) {
      settings.scale = records.settings->celsius ? 1 : 2;
      settings.logo_disabled = !records.settings->show_logo;
      settings.show_min_max = records.settings->show_min_max;
      if (!WriteSettings(settings)) return false;
      summary->settings_changed = true;
    }
  }
  return CommitChanges(transaction);
}

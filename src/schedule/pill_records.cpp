#include "schedule/pill_records.h"

#include <map>

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/ce_database.h"

namespace {

constexpr char16_t kPill[] = u"Pill";
constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);

std::u16string StringAt(const CCePropArray& record, uint32_t index) {
  if (record.Count() <= index || record.At(index).Type() != ce::CEVT_LPWSTR) return {};
  const char16_t* text = record.At(index).String();
  return text != nullptr ? text : u"";
}

PillDay FromArray(const CCePropArray& record) {
  PillDay d;
  // Read back, the day arrives as a 32-bit value and the flag as a 16-bit one.
  d.day = static_cast<DayNumber>(record.At(0).I4());
  if (record.Count() > 1) d.level = record.At(1).I2();
  if (record.Count() > 2) d.pill = record.At(2).I2() != 0;
  d.remark = StringAt(record, 3);
  d.time = StringAt(record, 4);
  return d;
}

bool WriteEntry(CCeDatabase& db, const PillDay& entry, bool as_new) {
  CCePropArray record;
  CCePropVal value;
  value.SetUI4(entry.day);  // UI4, or the record would drop out of the day order
  if (!record.Append(value)) return false;
  value.SetI2(entry.level);
  if (!record.Append(value)) return false;
  value.SetBool(entry.pill ? 1 : 0);
  if (!record.Append(value)) return false;
  value.SetString(std::u16string(ce::CutWhole(entry.remark, kPillTextLimit)).c_str());
  if (!record.Append(value)) return false;
  value.SetString(entry.pill ? std::u16string(ce::CutWhole(entry.time, kPillTextLimit)).c_str()
                             : u"");
  if (!record.Append(value)) return false;
  return as_new ? db.WriteNew(record) : db.WriteCurr(record);
}

// Walks the records of `day` in store order, calling `visit(db, entry)` on each with the
// database positioned on it; `visit` returns false to report a failed write. A visit may delete
// the current record: the next step then lands on the record that followed it.
template <class Visit>
bool ForEachRecordOf(CCeDatabase& db, DayNumber day, Visit visit) {
  CCePropArray record;
  for (bool more = db.SeekFirst(); more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || record.Count() < 1) continue;
    const PillDay entry = FromArray(record);
    if (entry.day == day && !visit(db, entry)) return false;
  }
  return true;
}

}  // namespace

bool IsEmptyEntry(const PillDay& entry) {
  return entry.level == 0 && !entry.pill && entry.remark.empty();
}

std::vector<PillDay> ReadPillDays() {
  std::vector<PillDay> days;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return days;
  days.reserve(db.RecordCount());
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || record.Count() < 1) continue;
    days.push_back(FromArray(record));
  }
  db.Close();
  return days;
}

uint32_t PillRecordCount() {
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return 0;
  const uint32_t count = db.RecordCount();
  db.Close();
  return count;
}

std::optional<PillDay> LoadPillDay(DayNumber day) {
  std::optional<PillDay> found;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return found;
  ForEachRecordOf(db, day, [&](CCeDatabase&, const PillDay& entry) {
    if (!found) found = entry;
    return true;
  });
  db.Close();
  return found;
}

bool SavePillDay(const PillDay& entry) {
  if (IsEmptyEntry(entry)) return DeletePillDay(entry.day) || !LoadPillDay(entry.day);
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return false;
  // The first record of the day takes the entry; any second one (from a file written by hand)
  // goes, so that the day shows and saves one entry.
  bool found = false;
  bool ok = ForEachRecordOf(db, entry.day, [&](CCeDatabase& open, const PillDay&) {
    if (found) return open.DeleteCurr();
    found = true;
    return WriteEntry(open, entry, false);
  });
  if (ok && !found) ok = WriteEntry(db, entry, true);
  db.Close();
  return ok && CommitChanges(transaction);
}

bool SavePillDays(std::span<const PillDay> entries, size_t* replaced) {
  *replaced = 0;
  // A day given twice keeps its later entry, as two saves in a row would.
  std::map<DayNumber, const PillDay*> wanted;
  for (const PillDay& entry : entries) wanted[entry.day] = &entry;
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return false;
  std::map<DayNumber, std::vector<ce::CEOID>> stored;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (db.ReadCurrRecord(record) && record.Count() >= 1) {
      stored[FromArray(record).day].push_back(db.CurrentRecord());
    }
  }
  bool ok = true;
  for (auto it = wanted.begin(); ok && it != wanted.end(); ++it) {
    const PillDay& entry = *it->second;
    const auto found = stored.find(entry.day);
    if (found == stored.end()) {
      if (!IsEmptyEntry(entry)) ok = WriteEntry(db, entry, true);
      continue;
    }
    ++*replaced;
    // The first record of the day takes the entry and any other goes, as in SavePillDay.
    bool first = !IsEmptyEntry(entry);
    for (const ce::CEOID oid : found->second) {
      ok = ok && db.SeekRecord(oid) && (first ? WriteEntry(db, entry, false) : db.DeleteCurr());
      first = false;
    }
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

bool DeletePillDay(DayNumber day) {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return false;
  bool found = false;
  const bool ok = ForEachRecordOf(db, day, [&](CCeDatabase& open, const PillDay&) {
    found = true;
    return open.DeleteCurr();
  });
  db.Close();
  return ok && found && CommitChanges(transaction);
}

bool ClearPill(DayNumber day) {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return false;
  bool found = false;
  const bool ok = ForEachRecordOf(db, day, [&](CCeDatabase& open, const PillDay& entry) {
    if (!entry.pill) return true;
    found = true;
    PillDay cleared = entry;
    cleared.pill = false;
    return WriteEntry(open, cleared, false);
  });
  db.Close();
  return ok && found && CommitChanges(transaction);
}

bool ClearAllPills() {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return false;
  bool ok = true;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; ok && more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || record.Count() < 1) continue;
    PillDay entry = FromArray(record);
    if (!entry.pill) continue;
    entry.pill = false;
    ok = WriteEntry(db, entry, false);
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

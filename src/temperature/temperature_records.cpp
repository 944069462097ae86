#include "temperature/temperature_records.h"

#include <map>

#include "platform/object_store.h"
#include "store/ce_database.h"

namespace {

constexpr char16_t kTemperature[] = u"Temperature";
constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);

TemperatureReading FromArray(const CCePropArray& record) {
  TemperatureReading reading;
  // Read back, UI4 arrives as I4; the bits are what counts.
  reading.day = static_cast<DayNumber>(record.At(0).I4());
  // A record without its R8 (written by hand, or cut short) shows 0.0 rather than the bits of
  // some other property taken for a double.
  if (record.Count() > 1 && record.At(1).Type() == ce::CEVT_R8) reading.celsius = record.At(1).R8();
  return reading;
}

bool WriteReading(CCeDatabase& db, DayNumber day, double celsius, bool as_new) {
  CCePropArray record;
  CCePropVal value;
  value.SetUI4(day);  // UI4, or the record would drop out of the day order
  if (!record.Append(value)) return false;
  value.SetR8(celsius);
  if (!record.Append(value)) return false;
  return as_new ? db.WriteNew(record) : db.WriteCurr(record);
}

}  // namespace

std::vector<TemperatureReading> ReadTemperatures() {
  std::vector<TemperatureReading> readings;
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return readings;
  readings.reserve(db.RecordCount());
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    // A record that cannot be read still holds its row, so that rows and records keep counting
    // alike for Delete.
    readings.push_back(db.ReadCurrRecord(record) ? FromArray(record) : TemperatureReading{});
  }
  db.Close();
  return readings;
}

uint32_t TemperatureCount() {
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return 0;
  const uint32_t count = db.RecordCount();
  db.Close();
  return count;
}

bool SaveTemperature(DayNumber day, double celsius) {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return false;
  // Every record of the day is overwritten, so that no older second reading of it survives.
  bool found = false;
  bool ok = true;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; ok && more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || FromArray(record).day != day) continue;
    found = true;
    ok = WriteReading(db, day, celsius, false);
  }
  if (ok && !found) ok = WriteReading(db, day, celsius, true);
  db.Close();
  return ok && CommitChanges(transaction);
}

bool SaveTemperatures(std::span<const TemperatureReading> readings, size_t* replaced) {
  *replaced = 0;
  // A day given twice keeps its later reading, as two saves in a row would.
  std::map<DayNumber, double> wanted;
  for (const TemperatureReading& reading : readings) wanted[reading.day] = reading.celsius;
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return false;
  std::map<DayNumber, std::vector<ce::CEOID>> stored;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (db.ReadCurrRecord(record)) stored[FromArray(record).day].push_back(db.CurrentRecord());
  }
  bool ok = true;
  for (auto it = wanted.begin(); ok && it != wanted.end(); ++it) {
    const auto found = stored.find(it->first);
    if (found == stored.end()) {
      ok = WriteReading(db, it->first, it->second, true);
      continue;
    }
    ++*replaced;
    for (const ce::CEOID oid : found->second) {
      ok = ok && db.SeekRecord(oid) && WriteReading(db, it->first, it->second, false);
    }
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

bool DeleteTemperatureAt(size_t position) {
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return false;
  const bool deleted = position < db.RecordCount() &&
                       db.SeekIndex(static_cast<ce::DWORD>(position)) && db.DeleteCurr();
  db.Close();
  return deleted;
}

bool DeleteAllTemperatures() {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return false;
  bool ok = true;
  for (uint32_t i = 0; ok && i < db.RecordCount(); ++i) ok = db.SeekFirst() && db.DeleteCurr();
  db.Close();
  return ok && CommitChanges(transaction);
}

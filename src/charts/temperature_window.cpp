#include "charts/temperature_window.h"

#include "platform/object_store.h"
#include "store/ce_database.h"
#include "store/ce_prop.h"

namespace {

constexpr char16_t kTemperature[] = u"Temperature";
constexpr char16_t kTemp[] = u"Temp";
constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);

bool ReadCurrent(CCeDatabase& db, ChartReading& reading) {
  CCePropArray props;
  if (!db.ReadCurrRecord(props)) return false;
  reading.day = static_cast<DayNumber>(props.At(0).I4());
  reading.celsius = props.At(1).R8();
  return true;
}

}  // namespace

bool LatestReadingDay(DayNumber* day) {
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return false;
  ChartReading reading;
  const bool found = db.RecordCount() > 0 && db.SeekLast() && ReadCurrent(db, reading);
  db.Close();
  if (found) *day = reading.day;
  return found;
}

std::vector<ChartReading> ReadReadings(DayNumber first, DayNumber last) {
  std::vector<ChartReading> out;
  CCeDatabase db;
  if (!db.Open(kTemperature, kByDay)) return out;
  // The first record dated first or later.
  ce::DWORD lo = 0, hi = db.RecordCount();
  while (lo < hi) {
    const ce::DWORD mid = lo + (hi - lo) / 2;
    ChartReading reading;
    if (!db.SeekIndex(mid) || !ReadCurrent(db, reading)) break;
    if (reading.day < first) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  for (bool more = lo < db.RecordCount() && db.SeekIndex(lo); more; more = db.SeekNext()) {
    ChartReading reading;
    if (!ReadCurrent(db, reading) || reading.day > last) break;
    if (reading.day >= first) out.push_back(reading);
  }
  db.Close();
  return out;
}

bool RebuildTempDatabase(const std::vector<ChartReading>& readings) {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!db.Open(kTemp, kByDay)) return false;
  bool ok = true;
  while (ok && db.SeekFirst()) ok = db.DeleteCurr();
  for (const ChartReading& reading : readings) {
    if (!ok) break;
    CCePropArray props;
    CCePropVal value;
    value.SetUI4(reading.day);
    ok = props.Append(value);
    value.SetR8(reading.celsius);
    ok = ok && props.Append(value);
    value.SetI2(static_cast<int16_t>(reading.x));
    ok = ok && props.Append(value);
    value.SetI2(static_cast<int16_t>(reading.y));
    ok = ok && props.Append(value) && db.WriteNew(props);
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

#include "schedule/pill_records.h"

#include "platform/object_store.h"
#include "store/ce_database.h"

namespace {

constexpr char16_t kPill[] = u"Pill";
constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);

std::u16string StringAt(const CCePropArray& record, uint32_t index) {
  if (record.Count() <= index) return {};
  const char16_t* text = record.At(index).String();
  return text != nullptr ? text : u"";
}

}  // namespace

std::vector<PillDay> ReadPillDays() {
  std::vector<PillDay> days;
  CCeDatabase db;
  if (!db.Open(kPill, kByDay)) return days;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || record.Count() < 1) continue;
    PillDay d;
    // Read back, the day arrives as a 32-bit value and the flag as a 16-bit one.
    d.day = static_cast<DayNumber>(record.At(0).I4());
    if (record.Count() > 1) d.level = record.At(1).I2();
    if (record.Count() > 2) d.pill = record.At(2).I2() != 0;
    d.remark = StringAt(record, 3);
    d.time = StringAt(record, 4);
    days.push_back(std::move(d));
  }
  db.Close();
  return days;
}

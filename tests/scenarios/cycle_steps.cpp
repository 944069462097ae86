#include "scenarios/cycle_steps.h"

#include <gtest/gtest.h>

#include <array>

#include "frame/document.h"
#include "platform/dialog.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "schedule/calendar.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/password_hash.h"
#include "store/settings.h"
#include "temperature/temperature_records.h"
#include "ui/ids.h"

namespace calvira::testing {

Settings LogoOff() {
  Settings settings;
  settings.logo_disabled = true;
  return settings;
}

void StoreSettings(const Settings& settings) {
  CreateCatalogue();
  ASSERT_TRUE(WriteSettings(settings));
}

void StoreLocked() {
  Settings settings = LogoOff();
  settings.password = HashPassword(u"Secret");
  StoreSettings(settings);
}

ce::POINT DecemberCell(int day) {
  static const MonthGrid december = LayOutMonth(2026, 12, {0, 70, 240, 268});
  const ce::RECT& c = december.cells[static_cast<size_t>(day - 1)];
  return {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
}

PillDay Entry(int day, int16_t level, bool pill, std::u16string remark, std::u16string time) {
  return {Day(2026, 12, static_cast<uint16_t>(day)), level, pill, std::move(remark),
          std::move(time)};
}

std::optional<ce::WindowInfo> Shown(int id) {
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    if (w.id == id && w.visible) return w;
  }
  return std::nullopt;
}

void StoreCycles(const std::vector<CycleRecord>& cycles) {
  StoreSettings(LogoOff());
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Cycles", 0));
  for (const CycleRecord& c : cycles) ASSERT_TRUE(WriteCycleRecord(db, c, true));
  db.Close();
  AverageCycleLength = 0;
}

void ExpectCycles(const std::vector<CycleRecord>& expected) {
  std::vector<std::array<int64_t, 3>> stored, wanted;
  for (const CycleRecord& c : ReadCycles())
    stored.push_back({c.start, c.periodLength, c.cycleLength});
  for (const CycleRecord& c : expected) wanted.push_back({c.start, c.periodLength, c.cycleLength});
  EXPECT_EQ(stored, wanted);
}

void StoreReadings(uint16_t scale, const std::vector<std::pair<DayNumber, double>>& readings) {
  Settings settings = LogoOff();
  settings.scale = scale;
  StoreSettings(settings);
  for (auto [day, celsius] : readings) ASSERT_TRUE(SaveTemperature(day, celsius));
}

// Every record of every database, in the store's order, as one text: "unchanged" to the value.
std::string StoreContents() {
  std::string out;
  const ce::HANDLE databases = ce::CeFindFirstDatabase(0);
  for (ce::CEOID db = ce::CeFindNextDatabase(databases); db != 0;
       db = ce::CeFindNextDatabase(databases)) {
    ce::CEOID oid = db;
    const ce::HANDLE h = ce::CeOpenDatabase(&oid, nullptr, 0, 0, nullptr);
    ce::CePropBuffer buffer;
    for (ce::CEOID rec = ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr); rec != 0;
         rec = ce::CeSeekDatabase(h, ce::CEDB_SEEK_CURRENT, 1, nullptr)) {
      ce::CeReadRecordProps(h, buffer);
      out += std::to_string(db) + ":" + std::to_string(rec) + "{";
      for (const ce::CEPROPVAL& p : buffer.props()) {
        out += std::to_string(p.propid) + "=";
        if (ce::TypeFromPropId(p.propid) == ce::CEVT_LPWSTR) {
          for (const char16_t* c = p.val.lpwstr; c != nullptr && *c != 0; ++c) {
            out += std::to_string(*c) + ".";
          }
        } else {
          out += std::to_string(p.val.lVal) + "/" + std::to_string(p.val.dblVal);
        }
        out += ";";
      }
      out += "}";
    }
    ce::CloseHandle(h);
  }
  ce::CloseHandle(databases);
  return out;
}

Scenario& PickItem(Scenario& s, int combo, int index) {
  s.TapControl(combo).Key(ce::VK_HOME);
  for (int i = 0; i < index; ++i) s.Key(ce::VK_DOWN);
  return s.Key(ce::VK_RETURN);
}

Scenario& Refill(Scenario& s, int id, const std::u16string& text) {
  s.TapControl(id).Key(ce::VK_END);
  for (int i = 0; i < 16; ++i) s.Key(ce::VK_BACK);
  return text.empty() ? s : s.Type(text);
}

Scenario& PickDate(Scenario& s, int32_t asker, int field, DayNumber day) {
  s.TapControl(field).Check([asker, day] {
    ExpectView(kScheduleView);
    ASSERT_EQ(CDocument_::GetPreviousView(), asker);
    ViewParams params;
    FormatDate(day).copy(params.date_text, 9);
    params.day_number = day;
    CDocument_::PassParams(asker, &params);
    CDocument_::GoBack();
  });
  return s.Wait(10);
}

}  // namespace calvira::testing

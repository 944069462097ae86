// The settings record through ReadSettings and WriteSettings: its shape after every write, and
// records that older versions left with twins, extra properties or other types.
#include "store/settings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/record_store.h"

namespace {

using Planted = std::vector<std::pair<ce::CEPROPID, std::string>>;

// The ids of the six properties as the store must hold them.
const std::vector<ce::CEPROPID> kDeclaredIds = {
    ce::PropId(0, ce::CEVT_LPWSTR), ce::PropId(1, ce::CEVT_BOOL), ce::PropId(2, ce::CEVT_BOOL),
    ce::PropId(3, ce::CEVT_UI2),    ce::PropId(4, ce::CEVT_BOOL), ce::PropId(5, ce::CEVT_BOOL),
};

// Every field, to compare two records at once.
auto Fields(const Settings& s) {
  return std::make_tuple(s.password, s.password_set, s.spare, s.scale, s.logo_disabled,
                         s.show_min_max);
}

class SettingsTest : public calvira::testing::RecordStoreTest {
 protected:
  // The settings record as the store holds it: the ids of its properties in the store's order,
  // which must be the declared ones, and it must be the only record.
  static void ExpectInShape() {
    std::vector<ce::CEPROPID> ids;
    ce::HANDLE h = ce::CeOpenDatabase(nullptr, u"Systems", 0, 0, nullptr);
    ce::CePropBuffer buffer;
    if (ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr) != 0) {
      ce::CeReadRecordProps(h, buffer);
    }
    for (const ce::CEPROPVAL& p : buffer.props()) ids.push_back(p.propid);
    ce::CloseHandle(h);
    EXPECT_EQ(ids, kDeclaredIds);
    CCeDatabase db;
    db.Open(u"Systems", 0);
    EXPECT_EQ(db.RecordCount(), 1);
  }

  // Writes a settings record the way an older version could have left it: the properties as
  // given, in this order, twins included, straight into the file.
  void PlantRecord(const Planted& props) {
    ce::objectstore::Unmount();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ce::objectstore::StoreFile(data_dir_).c_str(), &db), SQLITE_OK);
    std::string sql =
        "DELETE FROM props WHERE oid IN (SELECT r.oid FROM records r JOIN databases d "
        "ON r.db = d.oid WHERE d.name = 'Systems');"
        "DELETE FROM records WHERE db = (SELECT oid FROM databases WHERE name = 'Systems');"
        "INSERT INTO records(db) SELECT oid FROM databases WHERE name = 'Systems';";
    for (size_t pos = 0; pos < props.size(); ++pos) {
      sql += "INSERT INTO props VALUES((SELECT max(oid) FROM records), " + std::to_string(pos) +
             ", " + std::to_string(props[pos].first) + ", " + props[pos].second + ");";
    }
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    Remount();
  }
};

TEST_F(SettingsTest, EveryWriteLeavesTheSixPropertiesAndReadsBackWhatWasWritten) {
  ASSERT_TRUE(EnsureSettingsRecord());
  Settings written;
  // Many saves in a row, as a user toggling an option would make them.
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    written.password = i % 3 == 0 ? u"" : u"$argon2id$v=19$m=65536,t=2,p=1$xyz";
    written.password_set = static_cast<int16_t>(i % 2);
    written.spare = static_cast<int16_t>(i == 5 ? -1 : 0);
    written.scale = static_cast<uint16_t>(i % 4);
    written.logo_disabled = i % 2 == 1;
    written.show_min_max = i % 3 == 1;
    ASSERT_TRUE(WriteSettings(written));
    Settings read;
    ASSERT_TRUE(ReadSettings(&read));
    EXPECT_TRUE(Fields(read) == Fields(written));
    ExpectInShape();
  }
  Remount();
  ExpectInShape();
  // A password the store cannot hold is refused, and the record stays as it was.
  Settings too_long = written;
  too_long.password.assign(200, u'x');
  EXPECT_FALSE(WriteSettings(too_long));
  Settings read;
  ASSERT_TRUE(ReadSettings(&read));
  EXPECT_EQ(read.password, written.password);
}

TEST_F(SettingsTest, ARecordAnOlderVersionLeftUntidyIsPutBackIntoShape) {
  const auto b = [](ce::WORD n) { return ce::PropId(n, ce::CEVT_BOOL); };
  const auto i2 = [](ce::WORD n) { return ce::PropId(n, ce::CEVT_I2); };
  const ce::CEPROPID text = ce::PropId(0, ce::CEVT_LPWSTR), scale = ce::PropId(3, ce::CEVT_UI2);
  // Twins of the booleans written back as I2, whose values lost to the declared ones; every
  // boolean written back as I2 and nothing else; a record cut short, and a string where a
  // number belongs.
  const Planted twins = {
      {text, "'pw'"}, {b(1), "0"},  {b(2), "0"},  {scale, "1"}, {b(4), "1"},  {b(5), "0"},
      {i2(1), "1"},   {i2(2), "1"}, {i2(5), "1"}, {i2(6), "0"}, {i2(7), "0"}, {i2(35), "0"},
  };
  const Planted all_i2 = {{text, "''"}, {i2(1), "1"}, {i2(2), "0"},
                          {scale, "2"}, {i2(4), "0"}, {i2(5), "1"}};
  const std::pair<Planted, Settings> cases[] = {
      {twins, {.password = u"pw", .logo_disabled = true}},
      {all_i2, {.password = u"", .password_set = 1, .scale = 2, .show_min_max = true}},
      {{{text, "''"}, {ce::PropId(1, ce::CEVT_LPWSTR), "'1'"}}, Settings{}},
  };
  for (const auto& [planted, expected] : cases) {
    SCOPED_TRACE(planted.size());
    PlantRecord(planted);
    Settings read;
    ASSERT_TRUE(ReadSettings(&read));
    ASSERT_TRUE(EnsureSettingsRecord());
    ExpectInShape();
    Settings tidied;
    ASSERT_TRUE(ReadSettings(&tidied));
    EXPECT_TRUE(Fields(read) == Fields(expected));
    EXPECT_TRUE(Fields(tidied) == Fields(expected));
  }
}

// What every start prepares: the ten databases and the settings record. A fresh start is checked
// whole by calvira-data's dump; here, a catalogue that lost a database.
TEST_F(SettingsTest, ADeletedSystemsDatabaseComesBackWithItsDefaultsAndNothingElseChanges) {
  ASSERT_TRUE(EnsureSettingsRecord());
  ce::CEOID systems = 0;
  ce::CloseHandle(ce::CeOpenDatabase(&systems, u"Systems", 0, 0, nullptr));
  ASSERT_TRUE(ce::CeDeleteDatabase(systems));
  Remount();
  CreateCatalogue();
  ASSERT_TRUE(EnsureSettingsRecord());
  std::vector<std::u16string> names;
  ce::HANDLE e = ce::CeFindFirstDatabase(0);
  for (ce::CEDBASEINFO info{}; ce::CEOID oid = ce::CeFindNextDatabase(e);) {
    ce::CeGetDatabaseInfo(oid, &info);
    names.push_back(info.szDbaseName);
  }
  ce::CloseHandle(e);
  EXPECT_EQ(names.size(), 10u);
  EXPECT_EQ(names.back(), u"Systems");  // created anew, so last
  ExpectInShape();
  Settings settings;
  ASSERT_TRUE(ReadSettings(&settings));
  EXPECT_EQ(std::tuple(settings.scale, settings.password), std::tuple(1, u""));
  EXPECT_TRUE(TakeBoxTexts().empty());
}

}  // namespace

// The settings record through ReadSettings and WriteSettings: its shape after every write, and
// records that older versions left with twins, extra properties or other types.
#include "store/settings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "store/catalogue.h"
#include "support/temp_store.h"

namespace {

using Props = std::vector<std::pair<ce::CEPROPID, int64_t>>;

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

class SettingsTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }

  // The ids of the settings record's properties, in the store's order.
  static std::vector<ce::CEPROPID> Ids() {
    std::vector<ce::CEPROPID> ids;
    ce::HANDLE h = ce::CeOpenDatabase(nullptr, u"Systems", 0, 0, nullptr);
    ce::CePropBuffer buffer;
    if (ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr) != 0) {
      ce::CeReadRecordProps(h, buffer);
    }
    for (const ce::CEPROPVAL& p : buffer.props()) ids.push_back(p.propid);
    ce::CloseHandle(h);
    return ids;
  }

  static int RecordCount() {
    CCeDatabase db;
    db.Open(u"Systems", 0);
    return db.RecordCount();
  }

  // Writes a settings record the way an older version could have left it: the properties as
  // given, in this order, twins included, straight into the file.
  void PlantRecord(const std::vector<std::pair<ce::CEPROPID, std::string>>& props) {
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
    written.password = i % 3 == 0 ? u"" : u"$argon2id$v=19$m=65536,t=2,p=1$xyz";
    written.password_set = static_cast<int16_t>(i % 2);
    written.spare = static_cast<int16_t>(i == 5 ? -1 : 0);
    written.scale = static_cast<uint16_t>(i % 4);
    written.logo_disabled = i % 2 == 1;
    written.show_min_max = i % 3 == 1;
    ASSERT_TRUE(WriteSettings(written));
    Settings read;
    ASSERT_TRUE(ReadSettings(&read));
    EXPECT_TRUE(Fields(read) == Fields(written)) << i;
    EXPECT_EQ(Ids(), kDeclaredIds) << i;
  }
  Remount();
  EXPECT_EQ(Ids(), kDeclaredIds);
  EXPECT_EQ(RecordCount(), 1);

  // A password the store cannot hold is refused, and the record stays as it was.
  Settings too_long = written;
  too_long.password.assign(200, u'x');
  EXPECT_FALSE(WriteSettings(too_long));
  Settings read;
  ASSERT_TRUE(ReadSettings(&read));
  EXPECT_EQ(read.password, written.password);
}

TEST_F(SettingsTest, ARecordAnOlderVersionLeftUntidyIsPutBackIntoShape) {
  const auto bool_id = [](ce::WORD n) { return ce::PropId(n, ce::CEVT_BOOL); };
  const auto i2_id = [](ce::WORD n) { return ce::PropId(n, ce::CEVT_I2); };
  struct Case {
    const char* what;
    std::vector<std::pair<ce::CEPROPID, std::string>> planted;
    Settings expected;
  };
  Settings logo_off;
  logo_off.logo_disabled = true;
  logo_off.password = u"pw";
  Settings fahrenheit;
  fahrenheit.scale = 2;
  fahrenheit.show_min_max = true;
  fahrenheit.password_set = 1;
  const Case cases[] = {
      {"twins of the booleans written back as I2, whose values lost to the declared ones",
       {{ce::PropId(0, ce::CEVT_LPWSTR), "'pw'"},
        {bool_id(1), "0"},
        {bool_id(2), "0"},
        {ce::PropId(3, ce::CEVT_UI2), "1"},
        {bool_id(4), "1"},
        {bool_id(5), "0"},
        {i2_id(1), "1"},
        {i2_id(2), "1"},
        {i2_id(5), "1"},
        {i2_id(6), "0"},
        {i2_id(7), "0"},
        {i2_id(35), "0"}},
       logo_off},
      {"every boolean written back as I2 and nothing else",
       {{ce::PropId(0, ce::CEVT_LPWSTR), "''"},
        {i2_id(1), "1"},
        {i2_id(2), "0"},
        {ce::PropId(3, ce::CEVT_UI2), "2"},
        {i2_id(4), "0"},
        {i2_id(5), "1"}},
       fahrenheit},
      {"a record cut short, and a string where a number belongs",
       {{ce::PropId(0, ce::CEVT_LPWSTR), "''"}, {ce::PropId(1, ce::CEVT_LPWSTR), "'1'"}},
       Settings{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlantRecord(c.planted);
    Settings read;
    ASSERT_TRUE(ReadSettings(&read));
    ASSERT_TRUE(EnsureSettingsRecord());
    EXPECT_EQ(Ids(), kDeclaredIds);
    EXPECT_EQ(RecordCount(), 1);
    Settings tidied;
    ASSERT_TRUE(ReadSettings(&tidied));
    EXPECT_TRUE(Fields(read) == Fields(c.expected));
    EXPECT_TRUE(Fields(tidied) == Fields(c.expected));
  }
}

}  // namespace

// CCeDatabase and the property values: what screens see of the store, with its messages. The
// record store's messages: a reporter gets them as they were given (a missing caption stays
// missing) and its answer is the store's; without one they go to standard error, answered OK,
// and no message box of the window system is involved: the way calvira-data meets them.
// The settings record through ReadSettings and WriteSettings: its shape after every write, and
// records that older versions left with twins, extra properties or other types.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/message_box.h"
#include "platform/reporter.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "support/record_store.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::Fault, calvira::testing::UI4, calvira::testing::WriteRaw;
using Texts = std::vector<std::u16string>;

constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);

class CCeDatabaseTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CCeDatabase db;
    ASSERT_EQ(db.Create(u"Days", 0x5A513539, kByDay, ce::PropId(1, ce::CEVT_R8)), 0u);
  }

  static void AddDays(std::initializer_list<uint32_t> days) {
    for (uint32_t day : days) WriteRaw(u"Days", {UI4(day)});
  }

  static std::vector<int32_t> ReadDays() {
    std::vector<int32_t> days;
    CCeDatabase db;
    db.Open(u"Days", kByDay);
    CCePropArray record;
    for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
      if (db.ReadCurrRecord(record)) days.push_back(record.At(0).I4());
    }
    return days;
  }

  // The one box shown since the last call: text, caption, type.
  static std::tuple<std::u16string, std::u16string, ce::UINT> OneBox() {
    const auto boxes = ce::TakeMessageBoxReports();
    EXPECT_EQ(boxes.size(), 1u);
    if (boxes.empty()) return {};
    return {boxes[0].text, boxes[0].caption, boxes[0].type};
  }
};

TEST_F(CCeDatabaseTest, EmptyMissingOrOpenedTwice) {
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  CCePropArray record;
  record.Append(CCePropVal());
  // Braces keep the calls in order: nothing to count, read, step to or delete.
  EXPECT_EQ((std::tuple{db.RecordCount(), db.CurrentRecord(), db.ReadCurrRecord(record),
                        record.Count(), db.SeekNext(), db.DeleteCurr()}),
            std::tuple(0, 0u, false, 0u, false, false));
  EXPECT_EQ(db.Create(u"Days", 1, kByDay, kByDay), ce::ERROR_DUP_NAME);
  EXPECT_TRUE(TakeBoxTexts().empty());
  db.Close();

  EXPECT_FALSE(db.Open(u"Nowhere", 0));
  EXPECT_EQ(OneBox(), std::tuple(u"ERROR_FILE_NOT_FOUND ", u"Sample", ce::MB_OK));
  EXPECT_EQ((std::tuple{db.RecordCount(), db.Close()}), std::tuple(0, false));
  EXPECT_TRUE(TakeBoxTexts().empty());
  EXPECT_FALSE(db.Open(u"Days", ce::PropId(9, ce::CEVT_I2)));
  EXPECT_EQ(TakeBoxTexts(), Texts{u"ERROR_INVALID_PARAMETER"});

  AddDays({3});
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  EXPECT_EQ(OneBox(),
            std::tuple(u"Error in CCeDatabase::Open()!!", u"Fatal Error", ce::MB_ICONSTOP));
  EXPECT_EQ((std::tuple{db.RecordCount(), db.Close(), db.Name()[0]}), std::tuple(1, true, u'\0'));
}

// Reading gives BOOL as I2 and UI4 as I4; a property number beyond the count (records written by
// other means may skip numbers) lands in the last element, with a box.
TEST_F(CCeDatabaseTest, ReadConvertsTypesAndPutsASkippedNumberLast) {
  using namespace calvira::testing;
  WriteRaw(u"Days", {I2(-5), Bool(-1), Prop<&CCePropVal::SetUI2>(uint16_t{65535}), UI4(4000000000u),
                     R8(36.6), Str(u"note")});
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Days", 0));
  CCePropArray read;
  ASSERT_TRUE(db.ReadCurrRecord(read));
  ASSERT_EQ(read.Count(), 6u);
  EXPECT_EQ((std::tuple{read.At(0).Type(), read.At(1).Type(), read.At(2).Type(), read.At(3).Type(),
                        read.At(4).Type()}),
            std::tuple(ce::CEVT_I2, ce::CEVT_I2, ce::CEVT_UI2, ce::CEVT_I4, ce::CEVT_R8));
  EXPECT_EQ((std::tuple{read.At(0).I2(), read.At(1).I2(), read.At(2).UI2(), read.At(3).UI4(),
                        read.At(4).R8()}),
            std::tuple(-5, -1, 65535, 4000000000u, 36.6));
  // Beyond the end, the last element answers.
  EXPECT_EQ(std::u16string(read.At(5).String()) + read.At(40).String(), u"notenote");
  // Written back as read, the UI4 is an I4 now and no longer sorts by day.
  ASSERT_TRUE(db.WriteCurr(read));
  db.Close();
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  ASSERT_TRUE(db.ReadCurrRecord(read));
  EXPECT_EQ((std::tuple{db.RecordCount(), read.At(1).I2(), db.DeleteCurr()}),
            std::tuple(1, -1, true));
  ce::CEPROPVAL props[] = {{ce::PropId(0, ce::CEVT_UI4), 0, 0, {.ulVal = 7}},
                           {ce::PropId(5, ce::CEVT_I2), 0, 0, {.iVal = -9}}};
  ce::HANDLE h = ce::CeOpenDatabase(nullptr, u"Days", 0, 0, nullptr);
  ASSERT_NE(ce::CeWriteRecordProps(h, 0, 2, props), 0u);
  ce::CloseHandle(h);
  db.Close();
  ASSERT_TRUE(db.Open(u"Days", 0));
  ASSERT_TRUE(db.ReadCurrRecord(read));
  EXPECT_EQ(TakeBoxTexts(), Texts{u"Error in CCeDatabase::ReadCurrRecord"});
  EXPECT_EQ((std::tuple{read.Count(), read.At(0).I4(), read.At(1).I2()}), std::tuple(2u, 7, -9));
}

// The history screens empty a database so: first record, then count times delete and step on;
// and they delete the selected entry by its index.
TEST_F(CCeDatabaseTest, SeeksStopAtBothEndsAndDeletesByIndexOrAllOfAnySize) {
  CCeDatabase db;
  for (int size : {0, 1, 2, 3, 17, 250}) {
    for (int i = 0; i < size; ++i) AddDays({static_cast<uint32_t>((i * 7919) % 1000)});
    ASSERT_TRUE(db.Open(u"Days", kByDay));
    const int count = db.RecordCount();
    ASSERT_EQ(count, size);
    db.SeekFirst();
    for (int i = 0; i < count; ++i) {
      EXPECT_TRUE(db.DeleteCurr()) << size << " " << i;
      EXPECT_TRUE(i + 1 == count || db.SeekNext()) << size << " " << i;
    }
    db.Close();
    EXPECT_TRUE(ReadDays().empty()) << size;
  }
  AddDays({30, 10, 20});
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  CCePropArray record;
  // No current record after running off either end.
  EXPECT_EQ((std::tuple{db.SeekLast(), db.SeekNext(), db.CurrentRecord(), db.ReadCurrRecord(record),
                        db.SeekFirst(), db.SeekPrev(), db.CurrentRecord()}),
            std::tuple(true, false, 0u, false, true, false, 0u));
  EXPECT_EQ((std::tuple{db.SeekIndex(1), db.ReadCurrRecord(record), record.At(0).I4(),
                        db.SeekIndex(3), db.CountRecords()}),
            std::tuple(true, true, 20, false, 3));
  ASSERT_TRUE(db.SeekIndex(1) && db.DeleteCurr());
  db.Close();
  EXPECT_EQ(ReadDays(), (std::vector<int32_t>{10, 30}));
}

TEST_F(CCeDatabaseTest, CreateOnAFullDiskEndsTheProgram) {
  EXPECT_EXIT(
      {
        ce::SetMessageBoxEcho(true);
        MountFaulty();
        calvira::testing::FailFrom(1, Fault::kDiskFull);
        CCeDatabase db;
        db.Create(u"More", 1, kByDay, kByDay);
      },
      ::testing::ExitedWithCode(1), "\\[ERR\\] ERROR_DISK_FULL \n");
  // Nothing of the refused database reached the file.
  CCeDatabase db;
  EXPECT_FALSE(db.Open(u"More", 0));
}

TEST_F(CCeDatabaseTest, AFailedWriteIsReportedAndNotCountedAsDone) {
  MountFaulty();
  AddDays({1});
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Days", kByDay));
  CCePropArray record;
  ASSERT_TRUE(db.ReadCurrRecord(record));
  record.At(0).SetUI4(2);
  // The user is told the cause in words she can act on.
  const std::pair<Fault, std::u16string> causes[] = {
      {Fault::kDiskFull, u"The disk is full. Nothing was saved; free some space and try again."},
      {Fault::kIoError,
       u"The disk could not be written. Nothing was saved; the disk may be failing: copy "
       u"Calvira's data folder to a safe place."},
  };
  for (const auto& [fault, text] : causes) {
    calvira::testing::FailFrom(1, fault);
    EXPECT_FALSE(db.WriteCurr(record));
    EXPECT_FALSE(db.WriteNew(record));
    EXPECT_FALSE(db.DeleteCurr());
    calvira::testing::ClearFault();
    EXPECT_EQ(TakeBoxTexts(), Texts(3, text));
  }
  db.Close();
  Remount();
  EXPECT_EQ(ReadDays(), std::vector<int32_t>{1});
}

TEST(CCePropValTest, StringsAreCopiedAndLimitedTo199Characters) {
  ce::SetMessageBoxEcho(false);
  const std::u16string longest(199, u'x');
  CCePropVal v;
  v.SetString(longest.c_str());
  CCePropVal copy;
  copy = v;
  v.SetString(nullptr);
  EXPECT_EQ(std::u16string(v.String()), u"");
  copy = copy;
  copy.SetString(copy.String());  // its own text
  EXPECT_EQ(std::u16string(copy.String()), longest);
  copy.SetI4(3);
  EXPECT_EQ(std::u16string(copy.String()), u"");
  copy.SetBool(-2);
  EXPECT_EQ(copy.Bool(), -2);  // sign-extended
  EXPECT_EXIT(
      {
        ce::SetMessageBoxEcho(true);
        v.SetString(std::u16string(200, u'y').c_str());
      },
      // A box with an empty title: no caption at all would read "Error".
      ::testing::ExitedWithCode(255), "\\[\\] Mnogo dylyg string\\?\\?");
}

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// A reporter hears the store's reports as given and its answer counts; taken away, they go to
// standard error, answered OK, as for a box with no window system.
TEST_F(CCeDatabaseTest, AReporterHearsReportsAsGivenAndWithoutOneTheyGoToStandardError) {
  std::vector<std::u16string> heard;
  ce::objectstore::SetReporter(
      [&heard](const char16_t* text, const char16_t* caption, ce::UINT type) {
        heard.push_back((caption ? u"[" + std::u16string(caption) + u"] " : u"") + text +
                        (type == ce::MB_ICONSTOP ? u" (stop)" : u""));
        return ce::IDCANCEL;
      });
  CaptureStderr();
  EXPECT_EQ(ce::objectstore::Report(u"Mnogo dylyg string??", nullptr, ce::MB_ICONSTOP),
            ce::IDCANCEL);
  EXPECT_EQ(ce::objectstore::Report(u"ERROR_FILE_NOT_FOUND ", u"Sample", ce::MB_OK), ce::IDCANCEL);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(heard, (Texts{u"Mnogo dylyg string?? (stop)", u"[Sample] ERROR_FILE_NOT_FOUND "}));

  // A box runs a message loop, and what runs in it may connect another reporter; the one still
  // answering must live until it returns.
  heard.clear();
  ce::objectstore::SetReporter(
      [&heard, keep = std::u16string(64, u'k')](const char16_t* text, const char16_t*, ce::UINT) {
        ce::objectstore::SetReporter([&heard](const char16_t* later, const char16_t*, ce::UINT) {
          heard.push_back(std::u16string(u"second: ") + later);
          return ce::IDOK;
        });
        heard.push_back(keep.substr(0, 1) + text);  // uses its own captured state after the swap
        return ce::IDCANCEL;
      });
  EXPECT_EQ(ce::objectstore::Report(u"one", u"", ce::MB_OK), ce::IDCANCEL);
  EXPECT_EQ(ce::objectstore::Report(u"two", u"", ce::MB_OK), ce::IDOK);
  EXPECT_EQ(heard, (Texts{u"kone", u"second: two"}));

  ce::objectstore::SetReporter({});
  const std::tuple<const char16_t*, const char16_t*, ce::UINT, const char*> cases[] = {
      {u"ERROR_DISK_FULL ", u"ERR", ce::MB_ICONSTOP, "[ERR] ERROR_DISK_FULL \n"},
      // A box without a caption is titled "Error"; an empty caption is a caption.
      {u"Mnogo dylyg string??", nullptr, ce::MB_ICONSTOP, "[Error] Mnogo dylyg string??\n"},
      {u"x", u"", ce::MB_OK, "[] x\n"},
      // OK is the answer even where Cancel was offered.
      {u"Delete all cycles?", u"Calvira", ce::MB_OKCANCEL, "[Calvira] Delete all cycles?\n"},
      {u"Zyklus \u00e4\U0001F319", u"Fatal Error", ce::MB_ICONSTOP,
       "[Fatal Error] Zyklus \u00e4\U0001F319\n"},
      {nullptr, u"Sample", ce::MB_OK, "[Sample] \n"},
  };
  for (const auto& [text, caption, type, line] : cases) {
    CaptureStderr();
    EXPECT_EQ(ce::objectstore::Report(text, caption, type), ce::IDOK) << line;
    EXPECT_EQ(GetCapturedStderr(), line);
  }
  // So do CCeDatabase's.
  CCeDatabase db;
  CaptureStderr();
  EXPECT_FALSE(db.Open(u"Nowhere", 0));
  EXPECT_EQ(GetCapturedStderr(), "[Sample] ERROR_FILE_NOT_FOUND \n");
  EXPECT_EQ(heard.size(), 2u);
  EXPECT_TRUE(TakeBoxTexts().empty());
}

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

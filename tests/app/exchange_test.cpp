// Her records out and in: the export read back by an independent reader, an import that obeys
// the screens' rules, and a store that a refused, interrupted or concurrent import leaves as it
// was.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/run_tool.h"
#include "exchange/json_format.h"
#include "exchange/merge.h"
#include "exchange/store_check.h"
#include "platform/object_store.h"
#include "platform/single_instance.h"
#include "store/catalogue.h"
#include "store/settings.h"
#include "support/days.h"
#include "support/fault_vfs.h"
#include "support/files.h"
#include "support/temp_store.h"

namespace calvira::testing {
namespace {

namespace fs = std::filesystem;

std::string Export() {
  Records records;
  std::string error;
  EXPECT_TRUE(ReadAllRecords(&records, &error)) << error;
  return ToJson(records);
}

void Prepare() {
  CreateCatalogue();
  ASSERT_TRUE(EnsureSettingsRecord());
}

class ExchangeTest : public TempStoreTest {
 protected:
  // Every kind of record, with texts that need quoting in both formats.
  void StoreEverything() {
    Prepare();
    for (const DayNumber start : {Day(2026, 1, 5), Day(2026, 2, 2), Day(2026, 3, 1)}) {
      ASSERT_EQ(AddCycle(start, 5, 28), AddCycleResult::kAdded);
    }
    ASSERT_TRUE(SaveTemperature(Day(2026, 1, 6), 36.549999999999997));
    ASSERT_TRUE(SaveTemperature(Day(2026, 1, 7), 98.6 / 2.7));
    ASSERT_TRUE(
        SavePillDay({Day(2026, 1, 5), 3, true, u"ouch, \"bad\"\nday \u00e9 \U0001F600", u"8:30"}));
    ASSERT_TRUE(SavePillDay({Day(2026, 1, 6), 0, false, u" spaced ", u""}));
    ASSERT_TRUE(SaveNote(0, Day(2026, 1, 7), u"check-up, 10:30"));
    ASSERT_TRUE(SaveNote(3, Day(2026, 1, 7), u"gym"));
    Settings settings;
    ASSERT_TRUE(ReadSettings(&settings));
    settings.scale = 2;
    settings.show_min_max = true;
    settings.password = u"$argon2id$secret-hash";
    ASSERT_TRUE(WriteSettings(settings));
  }
};

// What is stored already meets what comes in: a day's record is replaced, a cycle start kept
// with its own period, and the lengths are worked out again over old and new starts together.
TEST_F(ExchangeTest, AnImportMergesByTheOneRecordPerDayRule) {
  Prepare();
  ASSERT_EQ(AddCycle(Day(2026, 1, 5), 5, 28), AddCycleResult::kAdded);
  ASSERT_TRUE(SaveTemperature(Day(2026, 1, 6), 36.5));
  ASSERT_TRUE(SavePillDay({Day(2026, 1, 6), 3, false, u"old", u""}));
  ASSERT_TRUE(SaveNote(0, Day(2026, 1, 6), u"old"));
  Records in;
  in.cycles = {{Day(2026, 1, 5), 3, 28}, {Day(2026, 2, 4), 4, 30}};
  in.temperatures = {{Day(2026, 1, 6), 37.0}, {Day(2026, 1, 7), 36.6}};
  in.days = {{Day(2026, 1, 6), 2, true, u"new", u"9:00"}};
  in.notes = {{0, {Day(2026, 1, 6), u"new"}}, {4, {Day(2026, 1, 6), u"misc"}}};
  MergeSummary s;
  ASSERT_TRUE(MergeRecords(in, &s));
  EXPECT_EQ(std::tuple(s.cycles.added, s.cycles.kept, s.temperatures.added, s.temperatures.replaced,
                       s.days.replaced, s.notes.added, s.notes.replaced, s.settings_changed),
            std::tuple(1u, 1u, 1u, 1u, 1u, 1u, 1u, false));
  const std::vector<CycleRecord> cycles = ReadCycles();
  ASSERT_EQ(cycles.size(), 2u);
  EXPECT_EQ(cycles[0].periodLength, 5);
  EXPECT_EQ(cycles[0].cycleLength, 30);  // the distance to the imported start
  EXPECT_EQ(ReadTemperatures().front().celsius, 37.0);
  EXPECT_EQ(ReadPillDays(), std::vector<PillDay>({{Day(2026, 1, 6), 2, true, u"new", u"9:00"}}));
  EXPECT_EQ(ReadNotes(0).at(0).text, u"new");
  EXPECT_EQ(NoteCount(4), 1u);
}

// An import cut short at any write or sync, as by kill -9, leaves the store as it was.
TEST_F(ExchangeTest, AnImportCutShortAnywhereLeavesTheOldStore) {
  StoreEverything();
  const std::string before = Export();
  Records in;
  in.temperatures = {{Day(2026, 1, 6), 37.0}, {Day(2026, 5, 1), 36.4}};
  in.days = {{Day(2026, 1, 5), 1, false, u"cut", u""}};
  in.cycles = {{Day(2026, 4, 1), 5, 28}};
  ce::objectstore::Unmount();
  HandToPlainUser(data_dir_);
  // The directory's owner reads it, in a child of its own.
  const auto stored = [this] {
    return RunAsPlainUser([this] {
      return ce::objectstore::Mount(data_dir_).empty() ? Export() : std::string("no mount");
    });
  };
  std::vector<std::string> seen;
  bool finished = false;
  for (int nth = 1; nth < 200 && !finished; ++nth) {
    finished = RunAsPlainUser([&] {
                 InstallFaultVfs();
                 ce::objectstore::MountOptions options;
                 options.vfs = kFaultVfsName;
                 if (!ce::objectstore::Mount(data_dir_, options).empty()) return "no mount";
                 FailFrom(nth, Fault::kCrash);
                 MergeSummary summary;
                 return MergeRecords(in, &summary) ? "done" : "refused";
               }) == "done";
    seen.push_back(stored());
  }
  EXPECT_TRUE(finished);
  // A cut after the commit may keep the whole import; never a part of it.
  const std::string after = seen.back();
  EXPECT_NE(after, before);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_TRUE(seen[i] == before || seen[i] == after) << "cut at write or sync " << i + 1;
  }
  EXPECT_EQ(seen.front(), before);
}

// An export reads one moment of the store, whatever another process commits meanwhile.
TEST_F(ExchangeTest, AnExportSeesOneSnapshotWhileAnotherProcessWrites) {
  StoreEverything();
  const fs::path file = data_dir_ / "more.json";
  WriteFile(file, R"({"format":"calvira-export","version":1,
                     "temperatures":[{"date":"2026-06-01","celsius":36.7}]})");
  {
    ce::objectstore::ReadSnapshot snapshot;
    ASSERT_TRUE(snapshot.ok());
    EXPECT_EQ(ReadTemperatures().size(), 2u);
    std::string err;
    ASSERT_EQ(Tool(data_dir_, "import " + file.string(), &err), 0) << err;
    EXPECT_EQ(ReadTemperatures().size(), 2u);
  }
  EXPECT_EQ(ReadTemperatures().size(), 3u);
}

// Each bad file is refused with its place and reason before anything is written: not a byte of
// the data directory changes.
TEST_F(ExchangeTest, ABadImportIsRefusedWithItsPlaceAndLeavesEveryByte) {
  StoreEverything();
  const std::string good = Export();
  const std::string day =
      R"({"date":"2026-01-09","bleeding":"none","pill":false,"pill_time":"","remark":"x"})";
  const auto doc = [](const std::string& body) {
    return R"({"format":"calvira-export","version":1,)" + body + "}";
  };
  const struct {
    std::string text;
    std::string fault;
  } cases[] = {
      {"{", "the file ends in the middle of the document"},
      {good.substr(0, good.size() / 2), "the file ends in the middle"},
      {"{\"format\": tru}", "line 1, column 15: this is not valid JSON"},
      {"[]", "the document: must be a JSON object"},
      {R"({"format":"other","version":1})", "format: this is not a Calvira export"},
      {R"({"format":"calvira-export","version":2})", "version: this export's version"},
      {doc(R"("temperatures":[{"date":"1581-12-31","celsius":36.5}])"), "temperatures[0].date"},
      {doc(R"("temperatures":[{"date":"2026-02-30","celsius":36.5}])"), "temperatures[0].date"},
      {doc(R"("temperatures":[{"date":"2026-01-01","celsius":42.01}])"), "temperatures[0].celsius"},
      {doc(R"("temperatures":[{"date":"2026-01-01","celsius":"36"}])"), "temperatures[0].celsius"},
      {doc(R"("days":[)" + day + "," + day + "]"), "days[1].date: a second entry for that day"},
      {doc(R"("days":[{"date":"2026-01-09","bleeding":"some","pill":false,"pill_time":"","remark":""}])"),
       "days[0].bleeding"},
      {doc(R"("days":[{"date":"2026-01-09","bleeding":"none","pill":false,"pill_time":"8:00","remark":""}])"),
       "days[0].pill_time: a pill time needs"},
      {doc(R"("days":[{"date":"2026-01-09","bleeding":"none","pill":false,"pill_time":"","remark":")" +
           std::string(200, 'r') + "\"}]"),
       "days[0].remark: is 200 characters long; at most 199"},
      {doc(R"("days":[{"date":"2026-01-09","bleeding":"none","pill":false,"pill_time":"","remark":"a\u0000b"}])"),
       "days[0].remark: must not hold"},
      {doc(R"("notes":[{"category":"Dentist","date":"2026-01-09","text":"x"}])"),
       "notes[0].category"},
      {doc(R"("notes":[{"category":"Misc","date":"2026-01-09","text":"twenty-one characters"}])"),
       "notes[0].text: is 21 characters"},
      {doc(R"("cycles":[{"start":"2026-01-09","period_length":14,"cycle_length":28}])"),
       "cycles[0].period_length: is longer"},
      {doc(R"("cycles":[{"start":"2026-01-09","period_length":0,"cycle_length":28}])"),
       "cycles[0].period_length: must be from 1"},
      {doc(R"("cycles":[{"start":"2026-01-09","cycle_length":28}])"),
       "cycles[0]: \"period_length\" is missing"},
      {doc(R"("settings":{"temperature_scale":"Kelvin","show_logo":true,"show_min_max":true})"),
       "settings.temperature_scale"},
  };
  const fs::path file = MakeTempDir("calvira-bad") / "in.json";
  ce::objectstore::Unmount();
  const auto files = Snapshot(data_dir_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 120));
    WriteFile(file, c.text);
    std::string err;
    EXPECT_EQ(Tool(data_dir_, "import " + file.string(), &err), 1);
    EXPECT_NE(err.find(c.fault), std::string::npos) << err;
    EXPECT_NE(err.find("nothing was imported"), std::string::npos) << err;
    EXPECT_TRUE(Snapshot(data_dir_) == files);
  }
  // Nor while the program has the data directory open.
  WriteFile(file, good);
  std::string err;
  {
    auto program = ce::SingleInstance::Acquire(data_dir_, nullptr, nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(Tool(data_dir_, "import " + file.string(), &err), 1);
    EXPECT_NE(err.find("Calvira is running with this data directory"), std::string::npos) << err;
  }
  EXPECT_EQ(Tool(data_dir_, "import " + file.string(), &err), 0) << err;
  fs::remove_all(file.parent_path());
}

// An export imported into a new store exports the same document, without the password; and the
// CSV files, read by Python's csv module, hold the same values.
TEST_F(ExchangeTest, AnExportReadsBackAsTheSameRecordsAndCsvAsTheSameValues) {
  StoreEverything();
  ce::objectstore::Unmount();
  const std::string dir = data_dir_.string(), other = dir + "/other";
  std::string err;
  ASSERT_EQ(Tool(dir, "export --out " + dir + "/all.json", &err), 0) << err;
  ASSERT_EQ(Tool(dir, "export --format csv --out " + dir + "/csv", &err), 0) << err;
  const std::string first = ReadAll(dir + "/all.json");
  EXPECT_EQ(first.find("argon2"), std::string::npos);
  ASSERT_EQ(Tool(other, "import " + dir + "/all.json", &err), 0) << err;
  EXPECT_EQ(RunTool("export --data-dir " + other).out, first);
  if (std::system("python3 -c 'import csv, json' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
  WriteFile(data_dir_ / "compare.py", R"(import csv, json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
def rows(name):
    with open(sys.argv[2] + "/" + name + ".csv", newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))
yes = lambda v: v == "yes"
kinds = {"cycles": {"period_length": int, "cycle_length": int}, "temperatures": {"celsius": float},
         "days": {"pill": yes}, "notes": {}}
for kind, types in kinds.items():
    got = [{k: types.get(k, str)(v) for k, v in r.items()} for r in rows(kind)]
    assert got == doc[kind], (kind, got, doc[kind])
s = rows("settings")[0]
assert (s["temperature_scale"], yes(s["show_logo"]), yes(s["show_min_max"])) == tuple(doc["settings"].values())
print("same")
)");
  EXPECT_EQ(
      std::system(("python3 " + dir + "/compare.py " + dir + "/all.json " + dir + "/csv").c_str()),
      0);
}

ce::CEPROPVAL Prop(ce::WORD number, ce::WORD type, int64_t value, const char16_t* text = nullptr) {
  ce::CEPROPVAL v{};
  v.propid = ce::PropId(number, type);
  if (type == ce::CEVT_LPWSTR) v.val.lpwstr = text;
  if (type == ce::CEVT_R8) v.val.dblVal = static_cast<double>(value);
  if (type == ce::CEVT_I2 || type == ce::CEVT_BOOL) v.val.iVal = static_cast<int16_t>(value);
  if (type == ce::CEVT_UI4 || type == ce::CEVT_I4) v.val.lVal = static_cast<int32_t>(value);
  return v;
}

// Writes a record as no screen would, or over record `oid`.
void Put(const char16_t* database, std::vector<ce::CEPROPVAL> props, ce::CEOID oid = 0) {
  ce::HANDLE h = ce::CeOpenDatabase(nullptr, database, 0, 0, nullptr);
  ASSERT_NE(h, ce::INVALID_HANDLE_VALUE);
  EXPECT_NE(ce::CeWriteRecordProps(h, oid, static_cast<ce::WORD>(props.size()), props.data()), 0u);
  ce::CloseHandle(h);
}

ce::CEOID FirstOid(const char16_t* database, ce::CEPROPID sort) {
  ce::HANDLE h = ce::CeOpenDatabase(nullptr, database, sort, 0, nullptr);
  const ce::CEOID oid = ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr);
  ce::CloseHandle(h);
  return oid;
}

std::string Found(const std::vector<Breach>& breaches) {
  std::string all;
  for (const Breach& b : breaches)
    all += b.where + ": " + b.what + (b.structural ? " [whole]\n" : "\n");
  return all;
}

// Each breach is found with its place; a repair mends what has one right answer and leaves the
// rest to be reported; a restore takes only a whole Calvira store and keeps the one it replaces.
TEST_F(ExchangeTest, CheckFindsEachBreachAndRepairMendsWhatItCan) {
  StoreEverything();
  EXPECT_EQ(Found(CheckStore()), "");
  const DayNumber day = Day(2026, 1, 5);
  const std::u16string long_text(250, u'n');
  Put(u"Pill", {Prop(0, ce::CEVT_UI4, day), Prop(1, ce::CEVT_I2, 1)});  // a second for the day
  Put(u"Pill", {Prop(0, ce::CEVT_UI4, Day(2026, 2, 1)), Prop(1, ce::CEVT_I2, 0)});  // empty
  Put(u"Pill", {Prop(0, ce::CEVT_UI4, 5), Prop(1, ce::CEVT_I2, 2)});                // before 1582
  Put(u"Temperature", {Prop(0, ce::CEVT_UI4, Day(2026, 1, 6)), Prop(1, ce::CEVT_I4, 36)});
  Put(u"Doctors",
      {Prop(0, ce::CEVT_UI4, Day(2026, 3, 3)), Prop(1, ce::CEVT_LPWSTR, 0, long_text.c_str())});
  Put(u"Cycles", {Prop(2, ce::CEVT_I4, 99)}, FirstOid(u"Cycles", ce::PropId(0, ce::CEVT_UI4)));
  Put(u"Systems", {Prop(7, ce::CEVT_BOOL, 1)}, FirstOid(u"Systems", 0));
  const std::string found = Found(CheckStore());
  for (const char* expected :
       {"Pill, 2026-01-05 (record", ": a second record for the day", "Pill, 2026-02-01 (record",
        ": an empty record", "Pill, day number 5 (record", ": a date the program cannot show",
        "Temperature, 2026-01-06 (record", ": property 1 is I4; the program reads it as R8",
        "Doctors, 2026-03-03 (record", ": a text of 250 characters", "Cycles, 2026-01-05 (record",
        ": cycle length 99, but the next cycle starts 28 days later", "Systems (record ",
        "): the settings record does not hold its six properties [whole]"}) {
    EXPECT_NE(found.find(expected), std::string::npos) << expected << "\n" << found;
  }
  std::vector<std::string> changes;
  ASSERT_TRUE(RepairStore(&changes));
  EXPECT_EQ(changes.size(), 4u);
  const std::string left = Found(CheckStore());
  EXPECT_EQ(left.find("Pill"), std::string::npos) << left;
  EXPECT_EQ(left.find("Doctors"), std::string::npos) << left;
  EXPECT_NE(left.find("Temperature"), std::string::npos) << left;  // no right answer to guess
  EXPECT_EQ(ReadNotes(0).back().text.size(), 199u);
  EXPECT_EQ(LoadPillDay(day)->level, 3);  // the day's first record stays
}

TEST_F(ExchangeTest, ABackupBesideAWriterHoldsWhatWasCommitted) {
  StoreEverything();
  const std::string committed = Export();
  const fs::path scratch = MakeTempDir("calvira-backup");
  const std::string copy = (scratch / "copy.sqlite3").string();
  std::string err;
  {
    // The program in the middle of a write: the copy holds what was committed before it.
    ce::objectstore::Transaction writing;
    ASSERT_TRUE(SaveTemperature(Day(2026, 8, 8), 36.9));
    ASSERT_EQ(Tool(data_dir_, "backup " + copy, &err), 0) << err;
  }
  ce::objectstore::Unmount();
  ASSERT_EQ(Tool(scratch / "data", "restore " + copy, &err), 0) << err;
  ASSERT_EQ(ce::objectstore::Mount(scratch / "data"), "");
  EXPECT_EQ(Export(), committed);
  fs::remove_all(scratch);
}

}  // namespace
}  // namespace calvira::testing

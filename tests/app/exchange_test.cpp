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

#include "exchange/json_format.h"
#include "exchange/merge.h"
#include "platform/object_store.h"
#include "platform/single_instance.h"
#include "store/catalogue.h"
#include "store/settings.h"
#include "support/fault_vfs.h"
#include "support/files.h"
#include "support/temp_store.h"

namespace calvira::testing {
namespace {

namespace fs = std::filesystem;

DayNumber Day(uint16_t y, uint16_t m, uint16_t d) {
  DayNumber n = 0;
  DateToDayNumber(y, m, d, n);
  return n;
}

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

// Runs calvira-data; its exit code, with standard error in *err.
int Tool(const std::string& args, std::string* err = nullptr) {
  const fs::path log = MakeTempDir("calvira-log") / "err";
  const int status = std::system(
      (std::string(CALVIRA_DATA_EXE) + " " + args + " >/dev/null 2>" + log.string()).c_str());
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  if (err) *err = text.str();
  fs::remove_all(log.parent_path());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
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

TEST_F(ExchangeTest, AnExportImportedIntoANewStoreExportsTheSameDocument) {
  StoreEverything();
  const std::string first = Export();
  EXPECT_EQ(first.find("argon2"), std::string::npos);  // the password never leaves
  Records records;
  std::string fault;
  ASSERT_TRUE(FromJson(first, &records, &fault)) << fault;

  const fs::path other = MakeTempDir("calvira-import");
  ce::objectstore::Unmount();
  ASSERT_EQ(ce::objectstore::Mount(other), "");
  Prepare();
  MergeSummary summary;
  ASSERT_TRUE(MergeRecords(records, &summary));
  EXPECT_EQ(Export(), first);
  EXPECT_EQ(summary.days.added, 2u);
  EXPECT_TRUE(summary.settings_changed);
  fs::remove_all(other);
}

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
    ASSERT_EQ(Tool("import " + file.string() + " --data-dir " + data_dir_.string(), &err), 0)
        << err;
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
    EXPECT_EQ(Tool("import " + file.string() + " --data-dir " + data_dir_.string(), &err), 1);
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
    EXPECT_EQ(Tool("import " + file.string() + " --data-dir " + data_dir_.string(), &err), 1);
    EXPECT_NE(err.find("Calvira is running with this data directory"), std::string::npos) << err;
  }
  EXPECT_EQ(Tool("import " + file.string() + " --data-dir " + data_dir_.string(), &err), 0) << err;
  fs::remove_all(file.parent_path());
}

// The CSV files, read by Python's csv module, hold the same values as the JSON export.
TEST_F(ExchangeTest, CsvFilesReadBackAsTheJsonValues) {
  if (std::system("python3 -c 'import csv, json' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
  StoreEverything();
  ce::objectstore::Unmount();
  const std::string dir = data_dir_.string();
  std::string err;
  ASSERT_EQ(Tool("export --data-dir " + dir + " --out " + dir + "/all.json", &err), 0) << err;
  ASSERT_EQ(Tool("export --format csv --data-dir " + dir + " --out " + dir + "/csv", &err), 0)
      << err;
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

}  // namespace
}  // namespace calvira::testing

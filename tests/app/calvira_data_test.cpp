// calvira-data as a user runs it: output, exit codes, and what it leaves in the data directory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>

#include "app/run_tool.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "store/settings.h"
#include "support/files.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::ReadAll;
using calvira::testing::RunCommand;
using calvira::testing::RunTool;
using calvira::testing::ToolRun;

class CalviraDataTest : public ::testing::Test {
 protected:
  void SetUp() override { scratch_ = calvira::testing::MakeTempDir("calvira-tool"); }
  void TearDown() override { std::filesystem::remove_all(scratch_); }
  std::filesystem::path scratch_;
};

constexpr const char* kFreshDump =
    R"({"database":"Cycles","type_id":1515271481,"sort":[19,131090]}
{"database":"Temperature","type_id":1515271481,"sort":[19,65541]}
{"database":"Pill","type_id":1515271481,"sort":[19,65555]}
{"database":"Systems","type_id":1515271481,"sort":[65567,327698]}
{"database":"Systems","oid":1,"props":[[31,"LPWSTR",""],[65547,"BOOL",0],[131083,"BOOL",0],[196626,"UI2",1],[262155,"BOOL",0],[327691,"BOOL",0]]}
{"database":"Temp","type_id":1515271481,"sort":[19,65541]}
{"database":"Doctors","type_id":1515271481,"sort":[19,65567]}
{"database":"HairDressers","type_id":1515271481,"sort":[19,65567]}
{"database":"BeautyParlors","type_id":1515271481,"sort":[19,65567]}
{"database":"Fitnes","type_id":1515271481,"sort":[19,65567]}
{"database":"Miscs","type_id":1515271481,"sort":[19,65567]}
)";

TEST_F(CalviraDataTest, InitThenDumpShowsTheCatalogueAndOneSettingsRecord) {
  const auto dir = scratch_ / "data";
  ToolRun init = RunTool("init --data-dir " + dir.string());
  EXPECT_EQ(init.code, 0) << init.err;
  ToolRun dump = RunTool("dump --data-dir=" + dir.string());
  EXPECT_EQ(dump.code, 0) << dump.err;
  EXPECT_EQ(dump.out, kFreshDump);

  // A second init finds everything in place.
  EXPECT_EQ(RunTool("--data-dir " + dir.string() + " init").code, 0);
  EXPECT_EQ(RunTool("dump --data-dir " + dir.string()).out, kFreshDump);
}

TEST_F(CalviraDataTest, TheDataDirectoryComesFromTheEnvironment) {
  const auto dir = scratch_ / "from-env";
  const auto xdg = scratch_ / "xdg";
  const std::string exe = CALVIRA_DATA_EXE;
  int status = std::system(("CALVIRA_DATA_DIR=" + dir.string() + " " + exe + " init").c_str());
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "objectstore.sqlite3"));
  status = std::system(
      ("env -u CALVIRA_DATA_DIR XDG_DATA_HOME=" + xdg.string() + " " + exe + " init").c_str());
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(std::filesystem::exists(xdg / "calvira" / "objectstore.sqlite3"));
  // A linked home, as many have: the data directory is made and used through the link.
  std::filesystem::create_directory(scratch_ / "home");
  std::filesystem::create_directory_symlink(scratch_ / "home", scratch_ / "home-link");
  const std::string home =
      "env -u CALVIRA_DATA_DIR -u XDG_DATA_HOME HOME=" + (scratch_ / "home-link").string() + " " +
      exe;
  ASSERT_EQ(WEXITSTATUS(std::system((home + " init").c_str())), 0);
  EXPECT_EQ(
      RunTool("dump --data-dir " + (scratch_ / "home-link/.local/share/calvira").string()).out,
      kFreshDump);
}

// Both programs keep one convention: a usage error is exit code 2 with the program's name on
// standard error and nothing on standard output; help and the version go to standard output.
TEST_F(CalviraDataTest, BothProgramsCommandLinesKeepOneConvention) {
  const std::string calvira = std::string(CALVIRA_EXE) + " ";
  const std::string tool = std::string(CALVIRA_DATA_EXE) + " ";
  for (const std::string args :
       {"", "frobnicate", "--verbose dump", "dump --data-dir", "dump --data-dir=", "dump extra",
        "export --format xml", "export --format=", "import", "restore", "export --out",
        "--password-stdin import -"}) {
    ToolRun run = RunCommand(tool + args);
    EXPECT_EQ(std::tuple(run.code, run.err.rfind("calvira-data: ", 0), run.out),
              std::tuple(2, 0u, ""))
        << args;
  }
  for (const std::string args :
       {"--frobnicate", "extra", "--data-dir", "--screenshot=", "--inspect --screenshot x.png"}) {
    ToolRun run = RunCommand(calvira + args);
    EXPECT_EQ(std::tuple(run.code, run.err.rfind("calvira: ", 0), run.out), std::tuple(2, 0u, ""))
        << args;
  }
  const std::string version = " " CALVIRA_VERSION "\n";
  const std::string nowhere = (scratch_ / "nowhere").string();
  const struct {
    std::string command;
    int code;
    std::string out_starts;
  } answers[] = {
      {tool + "--help", 0, "Usage: calvira-data"},
      {tool + "-h", 0, "Usage: calvira-data"},
      {tool + "--version", 0, "calvira-data" + version},
      {calvira + "--help", 0, "Usage: calvira"},
      {calvira + "--version", 0, "calvira" + version},
      {tool + "--data-dir=" + nowhere + " --format=json export", 1, ""},
      {calvira + "--inspect --data-dir=" + nowhere, 1, ""},
  };
  for (const auto& a : answers) {
    ToolRun run = RunCommand(a.command);
    EXPECT_EQ(std::tuple(run.code, run.out.rfind(a.out_starts, 0)), std::tuple(a.code, 0u))
        << a.command;
    if (a.code == 1) {
      EXPECT_NE(run.err.find("nowhere"), std::string::npos) << run.err;
    }
  }
}

TEST_F(CalviraDataTest, AnUnreadableStoreIsRefusedAndLeftAlone) {
  const auto dir = scratch_ / "broken";
  std::filesystem::create_directories(dir);
  const std::string garbage(4096, 'g');
  std::ofstream(dir / "objectstore.sqlite3") << garbage;
  for (const char* command : {"init", "dump"}) {
    ToolRun run = RunTool(std::string(command) + " --data-dir " + dir.string());
    EXPECT_EQ(run.code, 1) << command;
    EXPECT_NE(run.err.find("is not a Calvira store"), std::string::npos) << run.err;
  }
  std::ifstream in(dir / "objectstore.sqlite3");
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), garbage);

  // Dumping a directory without a store creates nothing there.
  const auto empty = scratch_ / "empty";
  ToolRun run = RunTool("dump --data-dir " + empty.string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no store"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(empty));
}

TEST_F(CalviraDataTest, DumpOfAReadOnlyStoreLeavesNothingBehind) {
  const auto dir = scratch_ / "data";
  const auto store = dir / "objectstore.sqlite3";
  struct Case {
    const char* what;
    mode_t dir_mode;
    mode_t file_mode;
  };
  const Case cases[] = {
      {"a read-only directory", 0500, 0600},
      {"a read-only store file", 0700, 0400},
      {"both", 0500, 0400},
      {"neither", 0700, 0600},
  };
  ASSERT_EQ(RunTool("init --data-dir " + dir.string()).code, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(::chmod(store.c_str(), c.file_mode), 0);
    ASSERT_EQ(::chmod(dir.c_str(), c.dir_mode), 0);
    const auto before = calvira::testing::Snapshot(dir);
    ToolRun dump = RunTool("dump --data-dir " + dir.string());
    EXPECT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out, kFreshDump);
    EXPECT_EQ(calvira::testing::Snapshot(dir), before);
    // Nothing left that would stand in the way of the next writer.
    ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(store.c_str(), 0600), 0);
    ToolRun logo = RunTool("logo on --data-dir " + dir.string());
    EXPECT_EQ(logo.code, 0) << logo.err;
  }
}

TEST_F(CalviraDataTest, DumpBesideARunningProgramSeesItsLastWriteAndMakesNoFile) {
  const auto dir = scratch_ / "data";
  ASSERT_EQ(RunTool("init --data-dir " + dir.string()).code, 0);
  ce::SetMessageBoxEcho(false);
  ASSERT_EQ(ce::objectstore::Mount(dir), "");
  Settings settings;
  ASSERT_TRUE(ReadSettings(&settings));
  settings.logo_disabled = true;
  ASSERT_TRUE(WriteSettings(settings));  // still in the write-ahead log
  std::vector<std::string> names;
  for (const auto& [name, state] : calvira::testing::Snapshot(dir)) names.push_back(name);
  ToolRun dump = RunTool("dump --data-dir " + dir.string());
  EXPECT_EQ(dump.code, 0) << dump.err;
  EXPECT_NE(dump.out.find("[262155,\"BOOL\",1]"), std::string::npos) << dump.out;
  std::vector<std::string> after;
  for (const auto& [name, state] : calvira::testing::Snapshot(dir)) after.push_back(name);
  EXPECT_EQ(after, names);
  ce::objectstore::Unmount();
}

// The settings record's logo flag set, and the store left as a program killed right after the
// write leaves it: the write in the -wal file, not yet in the store file.
void LeaveLogoOffInTheLog(const std::filesystem::path& dir) {
  const pid_t child = ::fork();
  if (child == 0) {
    ce::SetMessageBoxEcho(false);
    Settings settings;
    const bool written = ce::objectstore::Mount(dir).empty() && ReadSettings(&settings) &&
                         (settings.logo_disabled = true, WriteSettings(settings));
    ::_exit(written ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_GT(std::filesystem::file_size(dir / "objectstore.sqlite3-wal"), 0u);
}

std::string LogoOffDump() {
  std::string dump = kFreshDump;
  const std::string flag = "[262155,\"BOOL\",";
  return dump.replace(dump.find(flag + "0]"), flag.size() + 2, flag + "1]");
}

// A read needs no -shm file of its own making: whatever a writer left behind, it reads the
// records, the last write in the -wal file too, and changes nothing.
TEST_F(CalviraDataTest, DumpReadsWhatAWriterLeftBehindAndChangesNothing) {
  const auto dir = scratch_ / "data";
  const auto shm = dir / "objectstore.sqlite3-shm";
  struct Case {
    const char* what;
    std::function<void()> leave;
    std::string dump;
  };
  const Case cases[] = {
      {"an empty -wal and a 3-byte -shm, as a write refused on a full disk leaves them",
       [&] {
         std::ofstream(dir / "objectstore.sqlite3-wal");
         std::ofstream(shm) << std::string(3, '\0');
       },
       kFreshDump},
      {"the last write in the -wal beside the -shm of a program killed after it",
       [&] { LeaveLogoOffInTheLog(dir); }, LogoOffDump()},
      {"the last write in the -wal beside a -shm cut short",
       [&] {
         LeaveLogoOffInTheLog(dir);
         std::filesystem::resize_file(shm, 3);
       },
       LogoOffDump()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(RunTool("init --data-dir " + dir.string()).code, 0);
    c.leave();
    const auto before = calvira::testing::Snapshot(dir);
    ToolRun dump = RunTool("dump --data-dir " + dir.string());
    EXPECT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out, c.dump);
    EXPECT_TRUE(calvira::testing::Snapshot(dir) == before);  // not printed: the files are large
  }
}

// On a full disk a write is refused, and the records can still be read: that is just when a
// copy of them is wanted elsewhere.
TEST_F(CalviraDataTest, OnAFullDiskAWriteIsRefusedAndDumpStillWorks) {
  const auto disk = scratch_ / "disk";
  std::filesystem::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k,mode=0700") != 0) {
    GTEST_SKIP() << "no small disk to fill: mount: " << std::strerror(errno);
  }
  struct Unmount {
    std::filesystem::path path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{disk};
  const auto dir = disk / "data";
  ASSERT_EQ(RunTool("init --data-dir " + dir.string()).code, 0);
  const int fill = ::open((disk / "fill").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(fill, 0);
  const std::string block(4096, 'x');
  while (::write(fill, block.data(), block.size()) > 0) {
  }
  ::close(fill);

  ToolRun logo = RunTool("logo off --data-dir " + dir.string());
  EXPECT_EQ(logo.code, 1);
  EXPECT_NE(logo.err.find("is full; nothing was changed"), std::string::npos) << logo.err;
  const auto before = calvira::testing::Snapshot(dir);
  const std::string stored = ReadAll(dir / "objectstore.sqlite3");
  const std::string log = ReadAll(dir / "objectstore.sqlite3-wal");
  ToolRun dump = RunTool("dump --data-dir " + dir.string());
  EXPECT_EQ(dump.code, 0) << dump.err;
  EXPECT_EQ(dump.out, kFreshDump);
  // What only reads works as well, a copy to another disk included; an import is refused whole.
  const std::string copy = (scratch_ / "copy.sqlite3").string();
  const std::string readings[] = {"export", "check", "export --format csv --out " + copy + ".d",
                                  "backup " + copy};
  for (const std::string& reading : readings) {
    ToolRun run = RunTool(reading + " --data-dir " + dir.string());
    EXPECT_EQ(run.code, 0) << reading << ": " << run.err;
  }
  std::ofstream(scratch_ / "in.json")
      << R"({"format":"calvira-export","version":1,"notes":[{"category":"Misc","date":"2026-01-02","text":"x"}]})";
  ToolRun import =
      RunTool("import " + (scratch_ / "in.json").string() + " --data-dir " + dir.string());
  EXPECT_EQ(import.code, 1);
  EXPECT_NE(import.err.find("is full"), std::string::npos) << import.err;
  // Refused at its open: the records and the log are as they were (SQLite's index file, which
  // a writer's open touches, is no record).
  EXPECT_EQ(ReadAll(dir / "objectstore.sqlite3"), stored);
  EXPECT_EQ(ReadAll(dir / "objectstore.sqlite3-wal"), log);

  std::filesystem::remove(disk / "fill");
  EXPECT_EQ(RunTool("logo off --data-dir " + dir.string()).code, 0);
  EXPECT_EQ(RunTool("dump --data-dir " + dir.string()).out, LogoOffDump());
}

TEST_F(CalviraDataTest, LogoOffAndOnSetTheSettingsFlagAndNothingElse) {
  const auto dir = scratch_ / "data";
  const std::string logo_off = LogoOffDump();
  // Each toggle leaves the settings record as the six properties it was, whatever came before.
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    const bool off = i % 2 == 0;
    ASSERT_EQ(
        RunTool(std::string("logo ") + (off ? "off" : "on") + " --data-dir " + dir.string()).code,
        0);
    EXPECT_EQ(RunTool("dump --data-dir " + dir.string()).out,
              off ? logo_off : std::string(kFreshDump));
  }
  EXPECT_EQ(RunTool("logo maybe --data-dir " + dir.string()).code, 2);
  EXPECT_EQ(RunTool("logo --data-dir " + dir.string()).code, 2);
}

}  // namespace

// calvira-data as a user runs it: output, exit codes, and what it leaves in the data directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "app/run_tool.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "store/settings.h"
#include "support/files.h"

namespace calvira::testing {
namespace {

namespace fs = std::filesystem;
using CalviraDataTest = ToolTest;

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

std::string LogoOffDump() {
  std::string dump = kFreshDump;
  const std::string flag = "[262155,\"BOOL\",";
  return dump.replace(dump.find(flag + "0]"), flag.size() + 2, flag + "1]");
}

// The data directory given, or from the environment (through a linked home, as many have); a
// second init finds everything in place; each logo toggle leaves the settings record as the six
// properties it was, whatever came before.
TEST_F(CalviraDataTest, InitFindsItsDataDirectoryAndLogoSetsTheFlagAndNothingElse) {
  const std::string exe = std::string(CALVIRA_DATA_EXE) + " ", s = scratch_.string();
  fs::create_directory(scratch_ / "home");
  fs::create_directory_symlink(scratch_ / "home", scratch_ / "home-link");
  const std::pair<std::string, std::string> starts[] = {
      {exe + "init --data-dir " + dir_.string(), dir_.string()},
      {exe + "--data-dir " + dir_.string() + " init", dir_.string()},
      {"CALVIRA_DATA_DIR=" + s + "/env " + exe + "init", s + "/env"},
      {"env -u CALVIRA_DATA_DIR XDG_DATA_HOME=" + s + "/xdg " + exe + "init", s + "/xdg/calvira"},
      {"env -u CALVIRA_DATA_DIR -u XDG_DATA_HOME HOME=" + s + "/home-link " + exe + "init",
       s + "/home-link/.local/share/calvira"},
  };
  for (const auto& [command, dir] : starts) {
    const ToolRun init = RunCommand(command);
    EXPECT_EQ(init.code, 0) << command << init.err;
    EXPECT_EQ(RunTool("dump --data-dir=" + dir).out, kFreshDump) << command;
  }
  for (const std::string logo : {"off", "off", "on", "on", "off"}) {
    ASSERT_EQ(Run(scratch_ / "logo", "logo " + logo).code, 0);
    EXPECT_EQ(Run(scratch_ / "logo", "dump").out, logo == "off" ? LogoOffDump() : kFreshDump);
  }
}

// Both programs keep one convention: a usage error is exit code 2 with the program's name on
// standard error and nothing on standard output; help and the version go to standard output.
TEST_F(CalviraDataTest, BothProgramsCommandLinesKeepOneConvention) {
  const std::string calvira = std::string(CALVIRA_EXE) + " ";
  const std::string tool = std::string(CALVIRA_DATA_EXE) + " ";
  for (const std::string args :
       {"", "frobnicate", "--verbose dump", "dump --data-dir", "dump --data-dir=", "dump extra",
        "export --format xml", "export --format=", "import", "restore", "export --out",
        "--password-stdin import -", "logo maybe", "logo"}) {
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
  const std::string version = " " CALVIRA_VERSION "\n", nowhere = (scratch_ / "nowhere").string();
  const std::tuple<std::string, int, std::string> answers[] = {
      {tool + "--help", 0, "Usage: calvira-data"},
      {tool + "-h", 0, "Usage: calvira-data"},
      {tool + "--version", 0, "calvira-data" + version},
      {calvira + "--help", 0, "Usage: calvira"},
      {calvira + "--version", 0, "calvira" + version},
      {tool + "--data-dir=" + nowhere + " --format=json export", 1, ""},
      {calvira + "--inspect --data-dir=" + nowhere, 1, ""},
  };
  for (const auto& [command, code, out_starts] : answers) {
    ToolRun run = RunCommand(command);
    EXPECT_EQ(std::tuple(run.code, run.out.rfind(out_starts, 0)), std::tuple(code, 0u)) << command;
    EXPECT_TRUE(code == 0 || run.err.find("nowhere") != std::string::npos) << run.err;
  }
}

TEST_F(CalviraDataTest, AnUnreadableStoreIsRefusedAndLeftAlone) {
  fs::create_directories(dir_);
  const std::string garbage(4096, 'g');
  WriteFile(dir_ / "objectstore.sqlite3", garbage);
  for (const char* command : {"init", "dump"}) {
    ToolRun run = Run(dir_, command);
    EXPECT_EQ(run.code, 1) << command;
    EXPECT_NE(run.err.find("is not a Calvira store"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadAll(dir_ / "objectstore.sqlite3"), garbage);
  // Dumping a directory without a store creates nothing there.
  ToolRun run = Run(scratch_ / "empty", "dump");
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no store"), std::string::npos);
  EXPECT_FALSE(fs::exists(scratch_ / "empty"));
}

TEST_F(CalviraDataTest, DumpOfAReadOnlyStoreLeavesNothingBehind) {
  const auto store = dir_ / "objectstore.sqlite3";
  ASSERT_EQ(Run(dir_, "init").code, 0);
  // The directory's mode and the store file's: read-only, either or both.
  for (const auto& [dir_mode, file_mode] :
       {std::pair<mode_t, mode_t>{0500, 0600}, {0700, 0400}, {0500, 0400}, {0700, 0600}}) {
    SCOPED_TRACE(std::to_string(dir_mode) + " " + std::to_string(file_mode));
    ASSERT_EQ(::chmod(store.c_str(), file_mode), 0);
    ASSERT_EQ(::chmod(dir_.c_str(), dir_mode), 0);
    const auto before = Snapshot(dir_);
    ToolRun dump = Run(dir_, "dump");
    EXPECT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out, kFreshDump);
    EXPECT_EQ(Snapshot(dir_), before);
    // Nothing left that would stand in the way of the next writer.
    ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(store.c_str(), 0600), 0);
    ToolRun logo = Run(dir_, "logo on");
    EXPECT_EQ(logo.code, 0) << logo.err;
  }
}

// The settings record's logo flag set by a program that is still running (with `stay`) or was
// killed right after the write: the write in the -wal file, not yet in the store file.
void LeaveLogoOffInTheLog(const fs::path& dir, bool stay = false) {
  ce::SetMessageBoxEcho(false);
  const auto write = [&dir] {
    Settings settings;
    return ce::objectstore::Mount(dir).empty() && ReadSettings(&settings) &&
           (settings.logo_disabled = true, WriteSettings(settings));
  };
  if (stay) {
    ASSERT_TRUE(write());
  } else if (const pid_t child = ::fork(); child == 0) {
    ::_exit(write() ? 0 : 1);
  } else {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_GT(fs::file_size(dir / "objectstore.sqlite3-wal"), 0u);
}

// A read needs no -shm file of its own making: whatever a writer left behind or keeps open, it
// reads the records, the last write in the -wal file too, and changes nothing.
TEST_F(CalviraDataTest, DumpReadsWhatAWriterLeftBehindAndChangesNothing) {
  const auto shm = dir_ / "objectstore.sqlite3-shm";
  const std::tuple<const char*, std::function<void()>, std::string> cases[] = {
      {"an empty -wal and a 3-byte -shm, as a write refused on a full disk leaves them",
       [&] {
         WriteFile(dir_ / "objectstore.sqlite3-wal", "");
         WriteFile(shm, std::string(3, '\0'));
       },
       kFreshDump},
      {"the last write in the -wal beside the -shm of a program killed after it",
       [&] { LeaveLogoOffInTheLog(dir_); }, LogoOffDump()},
      {"the last write in the -wal beside a -shm cut short",
       [&] {
         LeaveLogoOffInTheLog(dir_);
         fs::resize_file(shm, 3);
       },
       LogoOffDump()},
      {"the last write in the -wal of a program still running",
       [&] { LeaveLogoOffInTheLog(dir_, true); }, LogoOffDump()},
  };
  for (const auto& [what, leave, expected] : cases) {
    SCOPED_TRACE(what);
    fs::remove_all(dir_);
    ASSERT_EQ(Run(dir_, "init").code, 0);
    leave();
    const auto before = Snapshot(dir_);
    ToolRun dump = Run(dir_, "dump");
    EXPECT_EQ(dump.code, 0) << dump.err;
    EXPECT_EQ(dump.out, expected);
    EXPECT_TRUE(Snapshot(dir_) == before);  // not printed: the files are large
  }
  ce::objectstore::Unmount();
}

}  // namespace
}  // namespace calvira::testing

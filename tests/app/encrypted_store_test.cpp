// calvira-data on a store encrypted under her password: nothing of her records readable on the
// disk, the standard sqlcipher shell opening it with the password, every command asking for it,
// a wrong or missing one changing nothing, and encrypting or decrypting that a kill at any moment
// or a full disk leaves with every record.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/run_tool.h"
#include "platform/object_store.h"
#include "support/files.h"

namespace calvira::testing {
namespace {

namespace fs = std::filesystem;
using ce::objectstore::IsEncrypted;

constexpr const char* kRecords = R"({"format":"calvira-export","version":1,
  "temperatures":[{"date":"2026-01-06","celsius":36.55}],
  "days":[{"date":"2026-01-05","bleeding":"heavy","pill":true,"pill_time":"8:30",
           "remark":"Migraine aura"}],
  "notes":[{"category":"Doctor","date":"2026-01-20","text":"Dentist appointment"}]})";

// A day's record for each of `days` days: a store whose conversion takes a while.
std::string ManyRecords(int days) {
  std::string json = R"({"format":"calvira-export","version":1,"days":[)";
  for (int i = 0; i < days; ++i) {
    char day[128];
    std::snprintf(day, sizeof day,
                  R"(%s{"date":"%04d-%02d-%02d","bleeding":"none","pill":true,"pill_time":"8:30",)"
                  R"("remark":"slept badly"})",
                  i ? "," : "", 2000 + i / 336, i / 28 % 12 + 1, i % 28 + 1);
    json += day;
  }
  return json + "]}";
}

// The lines of a dump but the settings record, whose password follows the protection; or that
// record alone.
std::string Records(const std::string& dump, bool settings = false) {
  std::string out;
  for (size_t at = 0, end; at < dump.size(); at = end + 1) {
    end = dump.find('\n', at);
    if ((dump.compare(at, 30, R"({"database":"Systems","oid":1,)") == 0) == settings)
      out += dump.substr(at, end - at + 1);
  }
  return out;
}

bool PasswordInSettings(const std::string& dump) {
  return dump.find(R"([31,"LPWSTR","$argon2id$)") != std::string::npos &&
         dump.find(R"([65547,"BOOL",1])") != std::string::npos;
}

class EncryptedStoreTest : public ToolTest {
 protected:
  // A store of `records` in `dir`, encrypted under `password` unless that is empty.
  void MakeStore(const fs::path& dir, const std::string& password,
                 const std::string& records = kRecords) {
    WriteFile(scratch_ / "in.json", records);
    ASSERT_EQ(Run(dir, "import " + (scratch_ / "in.json").string()).code, 0);
    if (!password.empty()) {
      ASSERT_EQ(Run(dir, "encrypt", password + "\n").code, 0);
    }
  }
};

// A password of any characters (a moon beyond the 16-bit ones too) is its UTF-8 text as the key.
TEST_F(EncryptedStoreTest, EncryptedNothingOfHerRecordsIsOnTheDiskAndDecryptedAllOfThemAre) {
  MakeStore(dir_, "");
  ASSERT_EQ(Run(dir_, "logo off").code, 0);
  const std::string plain = Run(dir_, "dump").out;
  // Her texts as stored (UTF-16) and a reading's bytes (a big-endian double): there when plain.
  std::vector<std::string> secrets = {"", "", "\x40\x42\x46\x66\x66\x66\x66\x66"};
  for (const char c : std::string("Migraine aura")) secrets[0] += std::string{c, '\0'};
  for (const char c : std::string("Dentist appointment")) secrets[1] += std::string{c, '\0'};
  for (const std::string& secret : secrets)
    EXPECT_NE(AllBytes(dir_).find(secret), std::string::npos);

  const std::string password = "pässwörd \U0001F319 7";
  ToolRun run = Run(dir_, "encrypt", password + "\n");
  EXPECT_EQ(run.out, "The store in " + dir_.string() + " is encrypted under the new password.\n");
  for (const std::string& secret : secrets)
    EXPECT_EQ(AllBytes(dir_).find(secret), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "logo-disabled"));
  run = Run(dir_, "dump", password + "\n");
  EXPECT_EQ(Records(run.out), Records(plain));
  EXPECT_TRUE(PasswordInSettings(run.out)) << run.out;
  // Her records are not locked in: the standard shell (installed with the build's dependencies)
  // opens the store with the same password.
  const std::string shell = "sqlcipher " + ce::objectstore::StoreFile(dir_).string() +
                            " \"PRAGMA key = '" + password +
                            "'; SELECT value FROM props WHERE value LIKE 'Dentist%';\"" +
                            " | grep -qx 'Dentist appointment'";
  EXPECT_EQ(std::system(shell.c_str()), 0);
  // Encrypting again changes the password: the old one opens nothing any more.
  ASSERT_EQ(Run(dir_, "encrypt", password + "\nn3w\n").code, 0);
  EXPECT_EQ(Run(dir_, "dump", password + "\n").code, 1);
  run = Run(dir_, "decrypt", "n3w\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Run(dir_, "dump").out, plain);  // every record, and no password in the settings
  EXPECT_FALSE(fs::exists(dir_ / "logo-disabled"));
  EXPECT_EQ(ReadAll(ce::objectstore::StoreFile(dir_)).substr(0, 15), "SQLite format 3");
}

// Every command takes the store's password; one that fails changes nothing.
TEST_F(EncryptedStoreTest, EachCommandTakesThePasswordAndAWrongOrMissingOneChangesNothing) {
  MakeStore(dir_, "pw");
  const fs::path csv = scratch_ / "csv", copy = scratch_ / "copy.sqlite3";
  const auto files = [this] {
    auto all = Snapshot(dir_);
    all.erase("calvira.lock");  // the program's lock is no part of the store
    return all;
  };
  const auto before = files();
  const struct {
    std::string args, input;
    int code;
    std::string says;  // on standard output or standard error
  } rows[] = {
      {"dump", "Pw\n", 1, "the password does not open " + dir_.string()},
      {"logo on", "pw \n", 1, "the password does not open "},  // the whole line is the password
      {"import " + (scratch_ / "in.json").string(), "wrong\n", 1, "the password does not open "},
      {"check --repair", "\n", 1, "the password does not open "},
      {"decrypt", "wrong\n", 1, "the password does not open "},
      {"encrypt", "pw\n\n", 1, "the password is empty; nothing was changed"},
      {"encrypt", "pw\n" + std::string(200, 'p') + "\n", 1,
       "the password is 200 characters long; at most 199 are possible; nothing was changed"},
      {"backup " + copy.string(), "", 1, "standard input ended before the password"},
      {"export", "pw\n", 0, "\"Dentist appointment\""},
      {"export --format csv --out " + csv.string(), "pw\n", 0, "keep " + csv.string() + " safe"},
      {"dump", "pw\n", 0, "calvira-data: note: the output is not encrypted; keep it safe"},
      {"check", "pw\n", 0, "No faults found."},
      {"backup " + copy.string(), "pw\n", 0, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args + " <<< " + row.input);
    const ToolRun run = Run(dir_, row.args, row.input);
    EXPECT_EQ(run.code, row.code);
    EXPECT_NE((run.out + run.err).find(row.says), std::string::npos) << run.out << run.err;
    EXPECT_TRUE(files() == before);
  }
  EXPECT_TRUE(ce::objectstore::IsEncryptedFile(copy));  // under the same password
  // With neither a terminal nor --password-stdin, she is told how to give it.
  EXPECT_NE(RunTool("export --data-dir " + dir_.string())
                .err.find("objectstore.sqlite3 is encrypted and there is no terminal to ask its "
                          "password on; give it as one line of standard input with "
                          "--password-stdin"),
            std::string::npos);
  // A page that is not what was written is named by the check of the pages' codes.
  std::string bytes = ReadAll(copy);
  bytes.replace(bytes.size() - 3000, 8, "XXXXXXXX");
  fs::create_directory(scratch_ / "damaged");
  WriteFile(ce::objectstore::StoreFile(scratch_ / "damaged"), bytes);
  EXPECT_NE(Run(scratch_ / "damaged", "check", "pw\n").out.find("HMAC verification failed"),
            std::string::npos);
}

// A copy of other records under its own password, restored into a store of each kind: the
// records are the copy's, the password stays the store's (one made by the restore takes the
// copy's), and the store replaced is kept as it was protected.
TEST_F(EncryptedStoreTest, ARestoreTakesACopyUnderItsOwnPasswordAndKeepsTheStoresProtection) {
  const fs::path copy = scratch_ / "copy.sqlite3";
  MakeStore(scratch_ / "other", "copy pw",
            R"({"format":"calvira-export","version":1,"notes":[
                {"category":"Misc","date":"2025-05-05","text":"from the copy"}]})");
  ASSERT_EQ(Run(scratch_ / "other", "backup " + copy.string(), "copy pw\n").code, 0);
  const std::string copied = Run(scratch_ / "other", "dump", "copy pw\n").out;
  const struct {
    bool store;
    std::string password;  // the store's, before and after
    const char* note;
  } rows[] = {
      {true, "pw", ""},
      {true, "", "note: the store is not encrypted, so neither are the restored records now"},
      {false, "copy pw", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.store ? "a store under '" + row.password + "'" : "no store");
    fs::remove_all(dir_);
    if (row.store) MakeStore(dir_, row.password);
    const std::string line = row.store && !row.password.empty() ? row.password + "\n" : "";
    const std::string settings = Records(row.store ? Run(dir_, "dump", line).out : copied, true);
    const auto before = Snapshot(dir_);
    EXPECT_NE(Run(dir_, "restore " + copy.string(), line + "wrong\n")
                  .err.find("the password does not open " + copy.string()),
              std::string::npos);
    if (row.store && line.empty()) {  // a file that is no Calvira store, and a directory
      WriteFile(scratch_ / "foreign.db", "SQLite format 3");
      for (const fs::path& bad : {scratch_ / "foreign.db", scratch_}) {
        EXPECT_NE(
            Run(dir_, "restore " + bad.string())
                .err.find("is not a Calvira store this program can read; nothing was restored"),
            std::string::npos);
      }
    }
    EXPECT_TRUE(!row.store || Snapshot(dir_) == before);
    const ToolRun run = Run(dir_, "restore " + copy.string(), line + "copy pw\n");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(row.note), std::string::npos) << run.err;
    const std::string restored = Run(dir_, "dump", row.password + "\n").out;
    EXPECT_EQ(Records(restored), Records(copied));
    EXPECT_EQ(Records(restored, true), settings);
    EXPECT_EQ(IsEncrypted(dir_), !row.password.empty());
    size_t kept = 0;
    for (const auto& [name, state] : Snapshot(dir_)) {
      kept += name.ends_with(".bak");
      EXPECT_TRUE(!name.ends_with(".bak") ||
                  ce::objectstore::IsEncryptedFile(dir_ / name) == IsEncrypted(dir_));
    }
    EXPECT_EQ(kept, row.store ? 1u : 0u);
  }
}

// The tool killed (SIGKILL) at moments spread over the conversion: every time the store opens with
// every record, plain or under the password, and its settings record holds the password exactly
// when it is encrypted.
class KilledConversionTest : public EncryptedStoreTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(KilledConversionTest, AKillAtAnyMomentLeavesEveryRecordUnderTheRightPassword) {
  const fs::path start = scratch_ / "start";
  MakeStore(start, std::string(GetParam()) == "decrypt" ? "pw" : "", ManyRecords(2500));
  const std::string records = Records(Run(start, "dump", "pw\n").out);
  WriteFile(scratch_ / "pw", "pw\n");
  const auto run = [&] {
    fs::remove_all(dir_);
    fs::copy(start, dir_);
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(::open((scratch_ / "pw").c_str(), O_RDONLY), 0);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execl(CALVIRA_DATA_EXE, CALVIRA_DATA_EXE, "--password-stdin", "--data-dir", dir_.c_str(),
              GetParam(), nullptr);
      ::_exit(127);
    }
    return pid;
  };
  const auto converting = [this](pid_t pid) {  // waits for the converted copy to appear
    while (!fs::exists(dir_ / ".objectstore.sqlite3.converting")) {
      if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
      ::usleep(20);
    }
    return true;
  };
  // One whole run, to learn how long its conversion takes.
  const pid_t whole = run();
  ASSERT_TRUE(converting(whole));
  const auto begun = std::chrono::steady_clock::now();
  ::waitpid(whole, nullptr, 0);
  const auto conversion = std::chrono::steady_clock::now() - begun;
  constexpr int kKills = 10;
  int interrupted = 0;  // kills that struck while the conversion was under way
  for (int i = 0; i < kKills; ++i) {
    const pid_t pid = run();
    const bool in_conversion = converting(pid);
    std::this_thread::sleep_for(conversion * i / kKills);
    interrupted += in_conversion && ::waitpid(pid, nullptr, WNOHANG) == 0;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    const ToolRun dump = Run(dir_, "dump", "pw\n");
    EXPECT_TRUE(dump.code == 0 && Records(dump.out) == records) << "kill " << i << dump.err;
    EXPECT_EQ(PasswordInSettings(dump.out), IsEncrypted(dir_)) << "kill " << i;
  }
  EXPECT_GE(interrupted, kKills / 2);
}

INSTANTIATE_TEST_SUITE_P(Commands, KilledConversionTest, ::testing::Values("encrypt", "decrypt"),
                         [](const auto& row) { return std::string(row.param); });

// On a full disk a write is refused whole and what only reads works, a copy to another disk
// included: that is just when one is wanted. Encrypting fails wherever the disk fills up, says
// so, and leaves the plain store whole; with room enough it succeeds.
TEST_F(EncryptedStoreTest, OnAFullDiskWritesAreRefusedWholeAndReadsStillWork) {
  SmallDisk disk(scratch_ / "disk");
  if (!disk.mounted) GTEST_SKIP() << "no small disk to fill: mounting needs root";
  const fs::path data = disk.path / "data", fill = disk.path / "fill";
  const auto leave_free = [&](int kib) {
    WriteFile(fill, std::string(256 << 10, 'x'));  // as much as fits
    fs::resize_file(fill, fs::file_size(fill) - (kib << 10));
  };
  MakeStore(dir_, "");
  const std::string plain = Run(dir_, "dump").out;
  fs::copy(dir_, data);
  leave_free(0);
  ToolRun run = Run(data, "logo off");
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("is full; nothing was changed"), std::string::npos) << run.err;
  const fs::path store = ce::objectstore::StoreFile(data), wal = store.string() + "-wal";
  const std::string stored = ReadAll(store), log = ReadAll(wal);
  const std::string copy = (scratch_ / "copy.sqlite3").string();
  const std::string readings[] = {"export", "check", "export --format csv --out " + copy + ".d",
                                  "backup " + copy};
  for (const std::string& reading : readings) {
    run = Run(data, reading);
    EXPECT_EQ(run.code, 0) << reading << ": " << run.err;
  }
  EXPECT_EQ(Run(data, "dump").out, plain);
  run = Run(data, "import " + (scratch_ / "in.json").string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("is full"), std::string::npos) << run.err;
  // Refused at its open: the records and the log are as they were (SQLite's index file, which
  // a writer's open touches, is no record).
  EXPECT_EQ(std::tuple(ReadAll(store), ReadAll(wal)), std::tuple(stored, log));
  fs::remove(fill);
  EXPECT_EQ(Run(data, "logo off").code, 0);
  EXPECT_NE(Run(data, "dump").out.find(R"([262155,"BOOL",1])"), std::string::npos);

  int refused = 0;
  for (int free_kib = 4; free_kib < 160; free_kib += 8, ++refused) {
    SCOPED_TRACE(std::to_string(free_kib) + " KiB free");
    fs::remove_all(data);
    fs::copy(dir_, data);
    leave_free(free_kib);
    run = Run(data, "encrypt", "pw\n");
    if (run.code == 0) break;
    EXPECT_NE(run.err.find("full"), std::string::npos) << run.err;
    EXPECT_FALSE(IsEncrypted(data));
    EXPECT_EQ(Run(data, "dump").out, plain);
  }
  EXPECT_GT(refused, 2);
  EXPECT_TRUE(IsEncrypted(data));
}

// Typed at a terminal: the prompts, nothing of what is typed shown, a new password typed twice.
TEST_F(EncryptedStoreTest, OnATerminalThePasswordIsAskedWithoutEcho) {
  MakeStore(dir_, "");
  const auto typed = [this](const char* command, const std::vector<std::string>& lines) {
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
      ::execl(CALVIRA_DATA_EXE, CALVIRA_DATA_EXE, "--data-dir", dir_.c_str(), command, nullptr);
      ::_exit(127);
    }
    std::string screen;
    char buffer[256];
    size_t answered = 0;
    for (pollfd ready{terminal, POLLIN, 0}; ::poll(&ready, 1, 10000) > 0;) {
      const ssize_t n = ::read(terminal, buffer, sizeof buffer);
      if (n <= 0) break;  // the tool has ended
      screen.append(buffer, static_cast<size_t>(n));
      if (screen.ends_with(": ") && answered < lines.size()) {
        const std::string line = lines[answered++] + "\n";
        EXPECT_EQ(::write(terminal, line.data(), line.size()), static_cast<ssize_t>(line.size()));
      }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::to_string(WEXITSTATUS(status)) + " " + screen;
  };
  const std::string asked = "New password for " + dir_.string() + ": \r\nType it again: \r\n";
  EXPECT_EQ(typed("encrypt", {"s3cret", "s3cret!"}),
            "1 " + asked + "calvira-data: the passwords do not match; nothing was changed\r\n");
  EXPECT_EQ(
      typed("encrypt", {"s3cret", "s3cret"}),
      "0 " + asked + "The store in " + dir_.string() + " is encrypted under the new password.\r\n");
  EXPECT_EQ(typed("check", {"s3cret"}),
            "0 Password for " + dir_.string() + ": \r\nNo faults found.\r\n");
}

}  // namespace
}  // namespace calvira::testing

// Opening the store when something is wrong with it or around it: each cause has its own
// message, a good store is never called foreign, and the files are left exactly as they were
// (bytes and modification times, and no file made beside them).
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <optional>

#include "platform/control_socket.h"
#include "platform/single_instance.h"
#include "support/fault_vfs.h"
#include "support/files.h"
#include "support/store_calls.h"
#include "support/temp_store.h"

namespace {

namespace fs = std::filesystem;
using namespace calvira::testing;

fs::path Store(const fs::path& dir) {
  return ce::objectstore::StoreFile(dir);
}

// A store with one database and one record in it, closed again.
void MakeStore(const fs::path& dir) {
  ASSERT_EQ(ce::objectstore::Mount(dir), "");
  ASSERT_NE(CreateDb(), 0u);
  ce::HANDLE h = ce::CeOpenDatabase(nullptr, u"Notes", 0, 0, nullptr);
  ASSERT_NE(calvira::testing::Write(h, {Int(0, ce::CEVT_UI4, 42)}), 0u);
  ce::CloseHandle(h);
  ce::objectstore::Unmount();
  // A clean close leaves the store file alone.
  ASSERT_FALSE(fs::exists(Store(dir).string() + "-wal"));
}

// Runs `sql` on the store file with SQLite itself; `fresh`: on a new file in its place.
void Sql(const fs::path& dir, const char* sql, bool fresh = true) {
  if (fresh) fs::remove(Store(dir));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(Store(dir).c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void Chmod(const fs::path& path, mode_t mode) {
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

// What a mount of `dir` says ("<mounted>" when it works), unmounted again; `fault` strikes from
// the first write or sync (for kReadError: read) when given.
std::string MountSays(const fs::path& dir, bool read_only, std::optional<Fault> fault = {}) {
  ce::objectstore::MountOptions options;
  options.read_only = read_only;
  options.vfs = kFaultVfsName;
  if (fault) FailFrom(1, *fault);
  const std::string message = ce::objectstore::Mount(dir, options);
  ClearFault();
  ce::objectstore::Unmount();
  return message.empty() ? std::string("<mounted>") : message;
}

struct OpenCase {
  const char* what;
  // Changes the good store in `dir` (null: leaves it).
  std::function<void(const fs::path& dir)> prepare;
  // What loses permissions ("/": the directory; else the store's name ends so; null: nothing)
  // and the mode it is given; the usual mode comes back for the comparison.
  const char* restrict;
  mode_t mode;
  // What a mount for writing and one for reading say; nullptr: the mount works.
  const char* writing;
  const char* reading;
  // The fault the disk shows while the store is opened.
  std::optional<Fault> fault = {};
  // Run by a user who does not own the directory (only possible as root).
  bool stranger = false;
};

class StoreOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::SetMessageBoxEcho(false);
    InstallFaultVfs();
  }
  void TearDown() override {
    ClearFault();
    ce::objectstore::Unmount();
  }
};

TEST_F(StoreOpenTest, EachCauseHasItsOwnMessageAndTheFilesAreLeftAsTheyWere) {
  const char* kDenied = "permission denied";
  const char* kForeign = "is not a Calvira store";
  const OpenCase cases[] = {
      {"a store file we may not read", nullptr, "", 0, kDenied, kDenied},
      {"a directory we may not enter", nullptr, "/", 0, kDenied, kDenied},
      {"journal files we may not use (left by another user)",
       [](const fs::path& d) {
         Write(Store(d).string() + "-wal", "");
         Write(Store(d).string() + "-shm", "");
       },
       "-shm", 0, "objectstore.sqlite3-shm: permission denied",
       "objectstore.sqlite3-shm: permission denied"},
      {"a read-only store file", nullptr, "", 0400,
       "objectstore.sqlite3 is read-only; Calvira must be able to write it", nullptr},
      {"a read-only directory", nullptr, "/", 0500,
       "is read-only; Calvira must be able to write there: check the permissions of", nullptr},
      {"a full disk while a new store is set up", [](const fs::path& d) { Write(Store(d), ""); },
       nullptr, 0, "is full; nothing was changed", "no store at", Fault::kDiskFull},
      {"a failing disk", nullptr, nullptr, 0, "input/output error", "input/output error",
       Fault::kReadError},
      {"a file that is not SQLite",
       [](const fs::path& d) { Write(Store(d), std::string(5000, 'g')); }, nullptr, 0, kForeign,
       kForeign},
      {"another program's database with no table yet",
       [](const fs::path& d) { Sql(d, "PRAGMA application_id = 305419896"); }, nullptr, 0, kForeign,
       kForeign},
      {"a database without an application id",
       [](const fs::path& d) { Sql(d, "CREATE TABLE records(oid, db)"); }, nullptr, 0, kForeign,
       kForeign},
      {"a store of a newer Calvira",
       [](const fs::path& d) { Sql(d, "PRAGMA user_version = 2", false); }, nullptr, 0,
       "was written by a newer Calvira (format 2)", "was written by a newer Calvira (format 2)"},
      {"a damaged store",
       [](const fs::path& d) {
         // Every page after the first, where the schema lives, overwritten.
         const auto size = fs::file_size(Store(d));
         std::fstream f(Store(d), std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(4096);
         f << std::string(size - 4096, '\x5A');
       },
       nullptr, 0, "is damaged", "is damaged"},
      // Links planted as the store or a journal are the link table's, below.
      {"a directory its group may write to", nullptr, "/", 0770,
       "can be changed by other users (mode 0770)", "can be changed by other users (mode 0770)"},
      {"a directory of another user", nullptr, nullptr, 0, "belongs to another user (uid 65534)",
       "belongs to another user (uid 65534)", std::nullopt, true},
  };
  for (const OpenCase& c : cases) {
    for (const bool read_only : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (read_only ? ", reading" : ", writing"));
      if (c.stranger && !RunningAsRoot()) continue;  // only root can give a directory away
      const fs::path dir = MakeTempDir("calvira-open");
      MakeStore(dir);
      if (c.prepare) c.prepare(dir);
      HandToPlainUser(dir);
      const auto before = Snapshot(dir);
      const auto chmod = [&dir, &c](bool restore) {
        if (c.restrict == nullptr) return;
        const bool d = c.restrict[0] == '/';
        Chmod(d ? dir : fs::path(Store(dir).string() + c.restrict), !restore ? c.mode
                                                                    : d      ? 0700
                                                                             : 0600);
      };
      chmod(false);

      const auto mount = [&dir, &c, read_only] { return MountSays(dir, read_only, c.fault); };
      // The stranger is root, looking into a directory the plain user owns.
      const std::string message = c.stranger ? mount() : RunAsPlainUser(mount);
      const char* expected = read_only ? c.reading : c.writing;
      if (expected == nullptr) {
        EXPECT_EQ(message, "<mounted>");
      } else {
        EXPECT_NE(message.find(expected), std::string::npos) << message;
        if (std::string(expected) != kForeign) {
          EXPECT_EQ(message.find(kForeign), std::string::npos) << message;
        }
      }
      chmod(true);
      EXPECT_EQ(Snapshot(dir), before);
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  }
}

// A first start cut short at any write or sync, as by kill -9, leaves files that the next start
// sets up as a new store: never "not a Calvira store". A read in between changes nothing and
// names only files that are there.
TEST_F(StoreOpenTest, AFirstStartCutShortAnywhereIsSetUpByTheNext) {
  const auto mount = [](const fs::path& dir, bool read_only) {
    return RunAsPlainUser([&dir, read_only] { return MountSays(dir, read_only); });
  };
  int half_written = 0;  // cuts that left part of the setup beside its rollback journal
  bool finished = false;
  for (int nth = 1; nth < 100 && !finished; ++nth) {
    SCOPED_TRACE("cut at write or sync " + std::to_string(nth));
    const fs::path dir = MakeTempDir("calvira-cut");
    HandToPlainUser(dir);
    finished = RunAsPlainUser([&dir, nth] {
                 ce::objectstore::MountOptions options;
                 options.vfs = kFaultVfsName;
                 FailFrom(nth, Fault::kCrash);
                 return ce::objectstore::Mount(dir, options);
               }) == "";
    const std::string store = Store(dir).string();
    if (fs::exists(store + "-journal") && fs::file_size(store) > 0) ++half_written;

    const auto before = Snapshot(dir);
    const std::string reading = mount(dir, true);
    EXPECT_TRUE(Snapshot(dir) == before) << reading;  // not printed: the files are large
    EXPECT_EQ(reading.find("is not a Calvira store"), std::string::npos) << reading;
    for (const char* suffix : {"-wal", "-journal"}) {
      if (reading.find(std::string("objectstore.sqlite3") + suffix) != std::string::npos) {
        EXPECT_TRUE(fs::exists(store + suffix)) << reading;
      }
    }
    EXPECT_EQ(mount(dir, false), "<mounted>");
    EXPECT_EQ(mount(dir, true), "<mounted>");
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  EXPECT_TRUE(finished);
  EXPECT_GT(half_written, 0);
}

// A data directory on another disk, or made under a linked parent (as in a linked home, which
// calvira-data's tests start from), is used through its real path, and then the store, its
// journals, the lock and the socket are still never opened through a link.
TEST_F(StoreOpenTest, ADataDirectoryReachedThroughALinkIsUsedButNoLinkInsideIt) {
  // (what, makes the links under `root` and returns the data directory as the user names it)
  const std::pair<const char*, std::function<fs::path(const fs::path& root)>> layouts[] = {
      {"a linked data directory",
       [](const fs::path& root) {
         fs::create_directory(root / "disk");
         Chmod(root / "disk", 0700);
         fs::create_symlink("disk", root / "data");
         return root / "data";
       }},
      {"a linked parent, the data directory made through it",
       [](const fs::path& root) {
         fs::create_directory(root / "disk");
         fs::create_directory_symlink(root / "disk", root / "share");
         return root / "share" / "calvira";
       }},
  };
  const char* const planted[] = {"objectstore.sqlite3",
                                 "objectstore.sqlite3-wal",
                                 "objectstore.sqlite3-shm",
                                 "objectstore.sqlite3-journal",
                                 "calvira.lock",
                                 "calvira.sock"};
  for (const auto& [what, make] : layouts) {
    SCOPED_TRACE(what);
    const fs::path root = MakeTempDir("calvira-linked");
    const fs::path dir = make(root);

    MakeStore(dir);
    ce::objectstore::MountOptions reading;
    reading.read_only = true;
    ASSERT_EQ(ce::objectstore::Mount(dir, reading), "");
    ce::HANDLE h = ce::CeOpenDatabase(nullptr, u"Notes", 0, 0, nullptr);
    EXPECT_NE(ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr), 0u);
    ce::CloseHandle(h);
    ce::objectstore::Unmount();

    for (const char* name : planted) {
      SCOPED_TRACE(name);
      const bool store = name == std::string("objectstore.sqlite3");
      if (store) fs::rename(Store(dir), root / "moved");
      Write(root / "target", "keep");
      fs::create_symlink(store ? root / "moved" : root / "target", dir / name);
      std::vector<std::string> messages;
      if (name == std::string("calvira.lock")) {
        ce::SingleInstance::Outcome outcome;
        EXPECT_EQ(ce::SingleInstance::Acquire(dir, &outcome, &messages.emplace_back()), nullptr);
      } else if (name == std::string("calvira.sock")) {
        std::string answer;
        EXPECT_EQ(ce::AskRunningCopy(dir, "raise", std::chrono::milliseconds(200), &answer,
                                     &messages.emplace_back()),
                  ce::AskResult::kFailed);
      } else {
        messages = {ce::objectstore::Mount(dir), ce::objectstore::Mount(dir, reading)};
        ce::objectstore::Unmount();
      }
      for (const std::string& message : messages) {
        EXPECT_NE(message.find(std::string(name) + " is a symbolic link"), std::string::npos)
            << message;
      }
      fs::remove(dir / name);
      if (store) fs::rename(root / "moved", Store(dir));
      EXPECT_EQ(ReadFile(root / "target"), "keep");
    }
    std::error_code ec;
    fs::remove_all(root, ec);
  }
}

}  // namespace

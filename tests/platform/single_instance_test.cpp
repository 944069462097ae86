#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "support/files.h"
#include "support/temp_store.h"

namespace ce {
namespace {

namespace fs = std::filesystem;
using Outcome = SingleInstance::Outcome;

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = calvira::testing::MakeTempDir("calvira-lock"); }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }

  struct Start {
    Outcome outcome = Outcome::kFailed;
    std::string error;
    int raises_seen = 0;
  };

  // What the first copy's event loop does: wait on the server's descriptors, serve, and count
  // the raise requests.
  static int ServeFor(SingleInstance& first, std::chrono::milliseconds wait) {
    int raises = 0;
    std::vector<pollfd> fds;
    first.Server()->Watch(fds);
    ::poll(fds.data(), fds.size(), static_cast<int>(wait.count()));
    first.Server()->Serve([&](std::string_view request) {
      if (request == "raise") ++raises;
      return std::string("ok\n");
    });
    return raises;
  }

  // A later start runs on another thread, since it waits for the answer, while this thread
  // answers as the first copy's event loop would.
  static Start StartAgain(SingleInstance& first, const fs::path& dir) {
    Start start;
    std::atomic<bool> done = false;
    std::unique_ptr<SingleInstance> second;
    std::thread thread([&] {
      second = SingleInstance::Acquire(dir, &start.outcome, &start.error);
      done = true;
    });
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done && std::chrono::steady_clock::now() < give_up) {
      start.raises_seen += ServeFor(first, std::chrono::milliseconds(20));
    }
    thread.join();
    start.raises_seen += ServeFor(first, std::chrono::milliseconds(0));
    EXPECT_EQ(second, nullptr);
    return start;
  }

  static std::unique_ptr<SingleInstance> First(const fs::path& dir) {
    Outcome outcome = Outcome::kFailed;
    std::string error;
    auto instance = SingleInstance::Acquire(dir, &outcome, &error);
    EXPECT_EQ(outcome, Outcome::kFirst) << error;
    EXPECT_TRUE(instance && instance->Server()) << error;
    return instance;
  }

  fs::path dir_;
};

// A socket file bound and closed without removal, as a copy that crashed leaves it.
void LeaveSocketFile(const fs::path& path, bool keep_listening, int* fd_out) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
  if (keep_listening) {
    ASSERT_EQ(::listen(fd, 4), 0);
    *fd_out = fd;
  } else {
    ::close(fd);
  }
}

TEST_F(SingleInstanceTest, SecondStartRaisesTheFirstAndLaterStartsRunAgain) {
  const mode_t old_mask = ::umask(0);  // the lock and the socket are private whatever the umask
  auto first = First(dir_);
  ::umask(old_mask);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(fs::is_socket(dir_ / "calvira.sock"));
  for (const char* name : {"calvira.lock", "calvira.sock"}) {
    EXPECT_EQ((fs::symlink_status(dir_ / name).permissions() & fs::perms::all),
              fs::perms::owner_read | fs::perms::owner_write)
        << name;
  }
  EXPECT_EQ(ServeFor(*first, std::chrono::milliseconds(0)), 0);

  // flock belongs to the open file, so even this process's second open is turned away.
  const Start second = StartAgain(*first, dir_);
  EXPECT_EQ(second.outcome, Outcome::kRaised) << second.error;
  EXPECT_EQ(second.raises_seen, 1);
  EXPECT_EQ(StartAgain(*first, dir_).raises_seen, 1);

  // A copy for another data directory is nobody's second.
  const fs::path other = calvira::testing::MakeTempDir("calvira-lock");
  {
    auto independent = First(other);
    EXPECT_EQ(ServeFor(*first, std::chrono::milliseconds(0)), 0);
  }
  fs::remove_all(other);

  first.reset();
  EXPECT_FALSE(fs::exists(dir_ / "calvira.sock"));
  EXPECT_TRUE(fs::exists(dir_ / "calvira.lock"));
  auto again = First(dir_);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(StartAgain(*again, dir_).outcome, Outcome::kRaised);
}

// A socket file left by a crashed copy is replaced; a data directory too long for a socket
// address still gets one.
TEST_F(SingleInstanceTest, AStaleSocketOrADeepDirectoryStillRaisesTheFirst) {
  int unused = -1;
  LeaveSocketFile(dir_ / "calvira.sock", false, &unused);
  fs::path deep = dir_ / "deep";
  while (deep.native().size() < 200) deep /= "a-rather-long-directory-name";
  fs::create_directories(deep);
  for (const fs::path& dir : {dir_, deep}) {
    SCOPED_TRACE(dir.string());
    auto first = First(dir);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(fs::is_socket(dir / "calvira.sock"));
    const Start second = StartAgain(*first, dir);
    EXPECT_EQ(second.outcome, Outcome::kRaised) << second.error;
    EXPECT_EQ(second.raises_seen, 1);
    first.reset();
    EXPECT_FALSE(fs::exists(dir / "calvira.sock"));
  }
}

TEST_F(SingleInstanceTest, FailsWithAReasonWhereNoLockCanBeTaken) {
  std::ofstream(dir_ / "file") << "x";
  fs::create_directory(dir_ / "read-only");
  fs::permissions(dir_ / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
  calvira::testing::HandToPlainUser(dir_);
  for (const char* name : {"missing", "file", "read-only"}) {
    const fs::path where = dir_ / name;
    // As a plain user, whom the permissions bind.
    const std::string error = calvira::testing::RunAsPlainUser([&where] {
      Outcome outcome = Outcome::kFirst;
      std::string message;
      const bool refused = SingleInstance::Acquire(where, &outcome, &message) == nullptr;
      return refused && outcome == Outcome::kFailed ? message : std::string("<acquired>");
    });
    EXPECT_NE(error.find(where.string()), std::string::npos) << name << ": " << error;
  }
}

TEST_F(SingleInstanceTest, HolderThatNeverAnswersIsAFailureNotARaise) {
  // Something holds the lock and listens but never answers: a hung copy.
  const int lock = ::open((dir_ / "calvira.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
  int listener = -1;
  LeaveSocketFile(dir_ / "calvira.sock", true, &listener);

  Outcome outcome = Outcome::kRaised;
  std::string error;
  EXPECT_EQ(SingleInstance::Acquire(dir_, &outcome, &error, std::chrono::milliseconds(300)),
            nullptr);
  EXPECT_EQ(outcome, Outcome::kFailed);
  EXPECT_NE(error, "");
  ::close(listener);
  ::close(lock);
}

// Links planted as the lock or the socket are StoreOpenTest's; a FIFO must not hang the start.
TEST_F(SingleInstanceTest, AFifoInPlaceOfTheLockIsRefused) {
  ASSERT_EQ(::mkfifo((dir_ / "calvira.lock").c_str(), 0600), 0);
  Outcome outcome = Outcome::kFirst;
  std::string error;
  EXPECT_EQ(SingleInstance::Acquire(dir_, &outcome, &error), nullptr);
  EXPECT_EQ(outcome, Outcome::kFailed);
  EXPECT_NE(error.find("not a plain file"), std::string::npos) << error;
}

}  // namespace
}  // namespace ce

// One copy per data directory: a later start raises the first through its control socket. And
// that socket as hostile and unlucky peers meet it: silence, junk, floods, requests that never
// end, readers that never read. The server runs on the window's thread, so the point of every
// such case is that serving never waits and that a good request still gets through.
#include "platform/single_instance.h"

#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/control_socket.h"
#include "support/files.h"
#include "support/temp_store.h"

namespace ce {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Outcome = SingleInstance::Outcome;
using std::chrono::milliseconds;

// The socket's rules hold for any peer deadline; a short one spares the waits for it.
constexpr milliseconds kDeadline{400};

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = calvira::testing::MakeTempDir("calvira-lock"); }
  void TearDown() override {
    first_.reset();
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }

  static std::unique_ptr<SingleInstance> First(const fs::path& dir) {
    Outcome outcome = Outcome::kFailed;
    std::string error;
    auto instance = SingleInstance::Acquire(dir, &outcome, &error);
    EXPECT_EQ(outcome, Outcome::kFirst) << error;
    EXPECT_TRUE(instance && instance->Server()) << error;
    return instance;
  }

  // One pass of the first copy's event loop: wait on the server's descriptors as the display
  // would, then serve. Returns how long Serve itself took.
  milliseconds Pass(milliseconds wait = milliseconds(10)) {
    std::vector<pollfd> fds;
    const int32_t due = first_->Server()->Watch(fds);
    int timeout = static_cast<int>(wait.count());
    if (due >= 0 && due < timeout) timeout = due;
    ::poll(fds.data(), fds.size(), timeout);
    const auto start = Clock::now();
    answered_ += first_->Server()->Serve([&](std::string_view request) {
      requests_.emplace_back(request);
      if (request == "raise") return std::string("ok\n");
      return request == "big" ? std::string(1 << 20, 'x')
                              : "answer to " + std::string(request) + "\n";
    });
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  }
  int Raises() const {
    return static_cast<int>(std::count(requests_.begin(), requests_.end(), "raise"));
  }

  // Runs `client` on another thread, since it waits for an answer, while this thread serves as
  // the first copy's loop would. Returns the longest Serve.
  milliseconds WhileServing(const std::function<void()>& client) {
    std::atomic<bool> done = false;
    std::thread thread([&] {
      client();
      done = true;
    });
    milliseconds longest{0};
    const auto give_up = Clock::now() + std::chrono::seconds(10);
    while (!done && Clock::now() < give_up) longest = std::max(longest, Pass());
    thread.join();
    Pass(milliseconds(0));
    return longest;
  }

  struct Start {
    Outcome outcome = Outcome::kFailed;
    std::string error;
    int raises_seen = 0;
  };
  Start StartAgain(const fs::path& dir) {
    Start start;
    std::unique_ptr<SingleInstance> second;
    const int before = Raises();
    WhileServing([&] { second = SingleInstance::Acquire(dir, &start.outcome, &start.error); });
    EXPECT_EQ(second, nullptr);
    start.raises_seen = Raises() - before;
    return start;
  }

  // The answer to `request`, or "" when there was none.
  std::string Ask(std::string_view request, milliseconds* longest_serve = nullptr) {
    std::string answer, error;
    AskResult result = AskResult::kFailed;
    const milliseconds longest = WhileServing(
        [&] { result = AskRunningCopy(dir_, request, milliseconds(3000), &answer, &error); });
    if (longest_serve != nullptr) *longest_serve = longest;
    return result == AskResult::kAnswered ? answer : std::string();
  }

  fs::path dir_;
  std::unique_ptr<SingleInstance> first_;
  std::vector<std::string> requests_;
  int answered_ = 0;
};

sockaddr_un Address(const fs::path& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
  return addr;
}

// A socket file bound and closed without removal, as a copy that crashed leaves it.
void LeaveSocketFile(const fs::path& path, bool keep_listening, int* fd_out) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(fd, 0);
  const sockaddr_un addr = Address(path);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
  if (keep_listening) {
    ASSERT_EQ(::listen(fd, 4), 0);
    *fd_out = fd;
  } else {
    ::close(fd);
  }
}

// What a start at `dir` says when it is refused as a failure; "<acquired>" otherwise.
std::string Refusal(const fs::path& dir, milliseconds wait = std::chrono::seconds(10)) {
  Outcome outcome = Outcome::kFirst;
  std::string message;
  const bool refused = SingleInstance::Acquire(dir, &outcome, &message, wait) == nullptr;
  return refused && outcome == Outcome::kFailed ? message : std::string("<acquired>");
}

// A socket file left by a crashed copy is replaced; a data directory too long for a socket
// address still gets one.
TEST_F(SingleInstanceTest, SecondStartRaisesTheFirstAndLaterStartsRunAgain) {
  int unused = -1;
  LeaveSocketFile(dir_ / "calvira.sock", false, &unused);
  fs::path deep = dir_ / "deep";
  while (deep.native().size() < 200) deep /= "a-rather-long-directory-name";
  fs::create_directories(deep);
  for (const fs::path& dir : {dir_, deep}) {
    SCOPED_TRACE(dir.string());
    const mode_t old_mask = ::umask(0);  // the lock and the socket are private whatever the umask
    first_ = First(dir);
    ::umask(old_mask);
    ASSERT_NE(first_, nullptr);
    EXPECT_TRUE(fs::is_socket(dir / "calvira.sock"));
    for (const char* name : {"calvira.lock", "calvira.sock"}) {
      EXPECT_EQ((fs::symlink_status(dir / name).permissions() & fs::perms::all),
                fs::perms::owner_read | fs::perms::owner_write)
          << name;
    }
    // flock belongs to the open file, so even this process's second open is turned away.
    for (int again = 0; again < 2; ++again) {
      const Start second = StartAgain(dir);
      EXPECT_EQ(second.outcome, Outcome::kRaised) << second.error;
      EXPECT_EQ(second.raises_seen, 1);
    }
    first_.reset();
    EXPECT_FALSE(fs::exists(dir / "calvira.sock"));
    EXPECT_TRUE(fs::exists(dir / "calvira.lock"));
    // With nobody listening an ask is told so, not failed, here as in a missing directory, one
    // whose path is too long for a socket's address included.
    for (const fs::path& where : {dir, dir_ / "missing", dir_ / std::string(200, 'm')}) {
      std::string answer, error;
      EXPECT_EQ(AskRunningCopy(where, "inspect", milliseconds(200), &answer, &error),
                AskResult::kNobody);
    }
  }
  first_ = First(dir_);
  ASSERT_NE(first_, nullptr);
  EXPECT_EQ(StartAgain(dir_).outcome, Outcome::kRaised);
}

// Links planted as the lock or the socket are StoreOpenTest's; a FIFO must not hang the start.
TEST_F(SingleInstanceTest, FailsWithAReasonWhereNoLockCanBeTaken) {
  std::ofstream(dir_ / "file") << "x";
  fs::create_directory(dir_ / "read-only");
  fs::permissions(dir_ / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_directory(dir_ / "fifo");
  ASSERT_EQ(::mkfifo((dir_ / "fifo" / "calvira.lock").c_str(), 0600), 0);
  calvira::testing::HandToPlainUser(dir_);
  for (const std::string name : {"missing", "file", "read-only", "fifo"}) {
    const fs::path where = dir_ / name;
    // As a plain user, whom the permissions bind.
    const std::string error = calvira::testing::RunAsPlainUser([&where] { return Refusal(where); });
    EXPECT_NE(error.find(where.string()), std::string::npos) << name << ": " << error;
    EXPECT_NE(error.find(name == "fifo" ? "calvira.lock is not a plain file" : ""),
              std::string::npos)
        << error;
  }
}

TEST_F(SingleInstanceTest, HolderThatNeverAnswersIsAFailureNotARaise) {
  // Something holds the lock and listens but never answers: a hung copy.
  const int lock = ::open((dir_ / "calvira.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
  int listener = -1;
  LeaveSocketFile(dir_ / "calvira.sock", true, &listener);

  const std::string error = Refusal(dir_, milliseconds(300));
  EXPECT_NE(error, "<acquired>");
  EXPECT_NE(error, "");
  ::close(listener);
  ::close(lock);
}

class ControlSocketTest : public SingleInstanceTest {
 protected:
  void SetUp() override {
    SingleInstanceTest::SetUp();
    first_ = First(dir_);
    ASSERT_NE(first_, nullptr);
    first_->Server()->SetPeerDeadline(kDeadline);
  }
  // A raw client that connects and then does what the case asks of it. The loop runs meanwhile,
  // as it would: a full backlog would hold connect() up.
  int Connect() {
    Pass(milliseconds(0));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un addr = Address(dir_ / kControlSocketName);
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
    return fd;
  }
};

TEST_F(ControlSocketTest, StalledJunkOversizedAndLazyPeersNeitherBlockNorShutOutAGoodRequest) {
  std::vector<int> peers;
  for (int i = 0; i < 16; ++i) peers.push_back(Connect());  // connect and say nothing
  const int junk = Connect();
  const char binary[] = "\x01\x02\xff\xfe\n";
  ASSERT_EQ(::send(junk, binary, sizeof(binary) - 1, 0), 5);
  const int oversized = Connect();
  const std::string flood(kMaxRequest + 100, 'a');
  ASSERT_GT(::send(oversized, flood.data(), flood.size(), MSG_DONTWAIT), 0);
  const int unfinished = Connect();
  ASSERT_EQ(::send(unfinished, "insp", 4, 0), 4);
  const int lazy = Connect();
  ASSERT_EQ(::send(lazy, "big\n", 4, 0), 4);  // asks for a megabyte, then never reads
  peers.insert(peers.end(), {junk, oversized, unfinished, lazy});

  milliseconds longest{0};
  EXPECT_EQ(Ask("inspect", &longest), "answer to inspect\n");
  // Serving never waits for a peer: the slowest pass is far below one stalled peer's deadline.
  EXPECT_LT(longest, kPeerDeadline / 4);
  // The junk line was answered as a request like any other (the handler refuses it); the
  // oversized one never reached the handler.
  for (const std::string& r : requests_) EXPECT_LE(r.size(), kMaxRequest);

  // Past their deadline the stalled peers are dropped: their sockets see the end.
  const auto give_up = Clock::now() + kDeadline + std::chrono::seconds(2);
  while (first_->Server()->OpenConnections() > 0 && Clock::now() < give_up) Pass();
  EXPECT_EQ(first_->Server()->OpenConnections(), 0u);
  char byte;
  EXPECT_EQ(::recv(peers.front(), &byte, 1, MSG_DONTWAIT), 0);
  for (int fd : peers) ::close(fd);

  // A peer that hangs up before its answer is written costs nothing either (no SIGPIPE).
  const int gone = Connect();
  ASSERT_EQ(::send(gone, "big\n", 4, 0), 4);
  ::close(gone);
  for (int i = 0; i < 5; ++i) Pass(milliseconds(1));
  EXPECT_EQ(Ask("again"), "answer to again\n");
}

TEST_F(ControlSocketTest, ManyRequestsAtOnceAreAnsweredOneAfterAnother) {
  constexpr int kClients = 20;
  std::vector<std::string> answers(kClients);
  std::vector<std::thread> clients;
  std::atomic<int> done = 0;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] {
      std::string error;
      AskRunningCopy(dir_, "r" + std::to_string(i), milliseconds(5000), &answers[i], &error);
      ++done;
    });
  }
  const auto give_up = Clock::now() + std::chrono::seconds(8);
  while (done < kClients && Clock::now() < give_up) {
    const int before = answered_;
    Pass();
    EXPECT_LE(answered_ - before, 4) << "one pass answered too many";
  }
  for (auto& t : clients) t.join();
  for (int i = 0; i < kClients; ++i)
    EXPECT_EQ(answers[i], "answer to r" + std::to_string(i) + "\n");
}

}  // namespace
}  // namespace ce

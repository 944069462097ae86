// The control socket as hostile and unlucky peers meet it (its mode is SingleInstanceTest's):
// silence, junk, floods, requests that never end, readers that never read. The server runs on the
// window's thread, so the point of every case is that serving never waits and that a good request
// still gets through.
#include "platform/control_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/single_instance.h"
#include "support/temp_store.h"

namespace ce {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kDeadline{400};

class ControlSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = calvira::testing::MakeTempDir("calvira-socket");
    SingleInstance::Outcome outcome;
    std::string error;
    instance_ = SingleInstance::Acquire(dir_, &outcome, &error);
    ASSERT_NE(instance_, nullptr) << error;
    ASSERT_NE(instance_->Server(), nullptr) << error;
    // The rules hold for any deadline; a short one spares the waits for it.
    instance_->Server()->SetPeerDeadline(kDeadline);
  }
  void TearDown() override {
    instance_.reset();
    fs::remove_all(dir_);
  }

  // A raw client that connects and then does what the case asks of it. The loop runs meanwhile,
  // as it would: a full backlog would hold connect() up.
  int Connect() {
    Pass(milliseconds(0));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, (dir_ / kControlSocketName).c_str(), sizeof(addr.sun_path) - 1);
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
    return fd;
  }

  // One pass of the window's loop: wait on the server's descriptors as the display would, then
  // serve. Returns how long Serve itself took.
  milliseconds Pass(milliseconds wait = milliseconds(10)) {
    std::vector<pollfd> fds;
    const int32_t due = instance_->Server()->Watch(fds);
    int timeout = static_cast<int>(wait.count());
    if (due >= 0 && due < timeout) timeout = due;
    ::poll(fds.data(), fds.size(), timeout);
    const auto start = Clock::now();
    answered_ += instance_->Server()->Serve([&](std::string_view request) {
      requests_.emplace_back(request);
      return request == "big" ? std::string(1 << 20, 'x')
                              : "answer to " + std::string(request) + "\n";
    });
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  }

  // Asks on another thread while this one serves; the answer, or "" when there was none.
  std::string AskWhileServing(std::string_view request, milliseconds* longest_serve = nullptr) {
    std::string answer, error;
    std::atomic<bool> done = false;
    AskResult result = AskResult::kFailed;
    std::thread client([&] {
      result = AskRunningCopy(dir_, request, milliseconds(3000), &answer, &error);
      done = true;
    });
    const auto give_up = Clock::now() + std::chrono::seconds(5);
    while (!done && Clock::now() < give_up) {
      const milliseconds took = Pass();
      if (longest_serve != nullptr) *longest_serve = std::max(*longest_serve, took);
    }
    client.join();
    return result == AskResult::kAnswered ? answer : std::string();
  }

  fs::path dir_;
  std::unique_ptr<SingleInstance> instance_;
  std::vector<std::string> requests_;
  int answered_ = 0;
};

TEST_F(ControlSocketTest, SilentJunkAndOversizedPeersNeitherBlockNorShutOutAGoodRequest) {
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
  peers.insert(peers.end(), {junk, oversized, unfinished});

  milliseconds longest{0};
  EXPECT_EQ(AskWhileServing("inspect", &longest), "answer to inspect\n");
  // Serving never waits for a peer: the slowest pass is far below one stalled peer's deadline.
  EXPECT_LT(longest, kPeerDeadline / 4);
  // The junk line was answered as a request like any other (the handler refuses it); the
  // oversized one never reached the handler.
  for (const std::string& r : requests_) EXPECT_LE(r.size(), kMaxRequest);

  // Past their deadline the stalled peers are dropped: their sockets see the end.
  const auto give_up = Clock::now() + kDeadline + std::chrono::seconds(2);
  while (instance_->Server()->OpenConnections() > 0 && Clock::now() < give_up) Pass();
  EXPECT_EQ(instance_->Server()->OpenConnections(), 0u);
  char byte;
  EXPECT_EQ(::recv(peers.front(), &byte, 1, MSG_DONTWAIT), 0);
  for (int fd : peers) ::close(fd);
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
  int passes = 0;
  while (done < kClients && Clock::now() < give_up) {
    const int before = answered_;
    Pass();
    EXPECT_LE(answered_ - before, 4) << "one pass answered too many";
    ++passes;
  }
  for (auto& t : clients) t.join();
  for (int i = 0; i < kClients; ++i)
    EXPECT_EQ(answers[i], "answer to r" + std::to_string(i) + "\n");
}

TEST_F(ControlSocketTest, AReaderThatNeverReadsCannotHoldTheLoop) {
  const int lazy = Connect();
  ASSERT_EQ(::send(lazy, "big\n", 4, 0), 4);  // asks for a megabyte, then never reads
  milliseconds longest{0};
  EXPECT_EQ(AskWhileServing("inspect", &longest), "answer to inspect\n");
  EXPECT_LT(longest, kPeerDeadline / 4);
  const auto give_up = Clock::now() + kDeadline + std::chrono::seconds(2);
  while (instance_->Server()->OpenConnections() > 0 && Clock::now() < give_up) Pass();
  EXPECT_EQ(instance_->Server()->OpenConnections(), 0u);
  ::close(lazy);

  // A peer that hangs up before its answer is written costs nothing either (no SIGPIPE).
  const int gone = Connect();
  ASSERT_EQ(::send(gone, "big\n", 4, 0), 4);
  ::close(gone);
  for (int i = 0; i < 5; ++i) Pass(milliseconds(1));
  EXPECT_EQ(AskWhileServing("again"), "answer to again\n");
}

TEST_F(ControlSocketTest, NobodyListeningIsToldApartFromAFailure) {
  instance_.reset();
  std::string answer, error;
  EXPECT_EQ(AskRunningCopy(dir_, "inspect", milliseconds(200), &answer, &error),
            AskResult::kNobody);
  EXPECT_EQ(AskRunningCopy(dir_ / "missing", "inspect", milliseconds(200), &answer, &error),
            AskResult::kNobody);
}

}  // namespace
}  // namespace ce

// The socket in the data directory through which other processes talk to the running copy:
// a second start asks it to come to the front, and `calvira --inspect` / `--screenshot` ask
// what it shows.
//
// A request is one line of at most kMaxRequest bytes; the answer is whatever the handler makes
// of it, after which the running copy closes the connection. The server never blocks: it reads
// and writes only what is ready, serves a few requests per call, and drops a peer that is not
// done within kPeerDeadline, one that sends too much, and one that runs as another user.
#pragma once

#include <poll.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

inline constexpr size_t kMaxRequest = 4096;
inline constexpr std::chrono::milliseconds kPeerDeadline{2000};

class ControlServer {
 public:
  // Makes the answer to one request line (without its newline).
  using Handler = std::function<std::string(std::string_view request)>;

  // Takes ownership of a listening, non-blocking socket.
  explicit ControlServer(int listen_fd);
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;
  ~ControlServer();

  // Appends the descriptors whose readiness means there is work, and returns how many
  // milliseconds may pass before Serve must run anyway (a peer's deadline; -1: none).
  int32_t Watch(std::vector<pollfd>& fds) const;
  // Does the work that is ready now without waiting; returns how many requests were answered.
  int Serve(const Handler& handler);

  size_t OpenConnections() const;
  // How long a peer may take over its request and the answer; kPeerDeadline unless a test that
  // waits for a deadline in real time asks for a shorter one.
  std::chrono::milliseconds PeerDeadline() const { return peer_deadline_; }
  void SetPeerDeadline(std::chrono::milliseconds deadline) { peer_deadline_ = deadline; }

 private:
  struct Connection;
  bool Accept();
  // False when the connection is finished or dropped.
  bool Advance(Connection& c, const Handler& handler, int* answered);

  int listen_fd_;
  std::chrono::milliseconds peer_deadline_ = kPeerDeadline;
  std::vector<Connection> connections_;
};

// The client side. Sends `request` (one line) to the copy running on `data_dir` and collects the
// whole answer, waiting at most `timeout`.
enum class AskResult {
  kAnswered,
  kNobody,  // no copy listens there (no socket, or one that a dead copy left)
  kFailed,  // `error` says why
};
AskResult AskRunningCopy(const std::filesystem::path& data_dir, std::string_view request,
                         std::chrono::milliseconds timeout, std::string* answer,
                         std::string* error);

// The socket's file name in the data directory.
inline constexpr const char* kControlSocketName = "calvira.sock";

}  // namespace ce

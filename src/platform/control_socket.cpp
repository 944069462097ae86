#include "platform/control_socket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace ce {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Peers kept at once. A newcomer beyond this pushes out the peer that has been waiting longest,
// so that a crowd of silent connections cannot shut out a client that asks at once.
constexpr size_t kMaxConnections = 8;
// New peers taken in one call to Serve; more wait in the listen backlog for the next.
constexpr int kMaxAcceptsPerServe = 8;
// Requests answered in one call to Serve, so that a flood of them cannot hold the window up.
constexpr int kMaxAnswersPerServe = 4;

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    reset(std::exchange(other.fd_, -1));
    return *this;
  }
  ~UniqueFd() { reset(-1); }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

std::string SystemError() {
  return std::strerror(errno);
}

// A socket address for `path`. sun_path holds only 107 characters, far less than a data
// directory may take; a longer path is reached through a descriptor of its directory under
// /proc/self/fd, which names the same file and keeps the directory's permissions, unlike the
// abstract namespace. `dir` must stay open while the address is used.
bool MakeAddress(const fs::path& path, sockaddr_un* addr, UniqueFd* dir) {
  std::memset(addr, 0, sizeof(*addr));
  addr->sun_family = AF_UNIX;
  std::string name = path.native();
  if (name.size() >= sizeof(addr->sun_path)) {
    dir->reset(::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (dir->get() < 0) return false;
    name = "/proc/self/fd/" + std::to_string(dir->get()) + "/" + path.filename().native();
    if (name.size() >= sizeof(addr->sun_path)) return false;
  }
  std::memcpy(addr->sun_path, name.c_str(), name.size() + 1);
  return true;
}

bool SamePeerUser(int fd) {
  ucred cred{};
  socklen_t size = sizeof(cred);
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0) return false;
  return cred.uid == ::geteuid();
}

int MillisecondsUntil(Clock::time_point when) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 1 << 30));
}

}  // namespace

struct ControlServer::Connection {
  UniqueFd fd;
  std::string in;
  std::string out;
  size_t sent = 0;
  bool answered = false;
  Clock::time_point deadline;
};

ControlServer::ControlServer(int listen_fd) : listen_fd_(listen_fd) {}

size_t ControlServer::OpenConnections() const {
  return connections_.size();
}

ControlServer::~ControlServer() {
  connections_.clear();
  if (listen_fd_ >= 0) ::close(listen_fd_);
}

int32_t ControlServer::Watch(std::vector<pollfd>& fds) const {
  if (listen_fd_ >= 0) fds.push_back({listen_fd_, POLLIN, 0});
  int32_t next = -1;
  for (const Connection& c : connections_) {
    fds.push_back({c.fd.get(), static_cast<short>(c.answered ? POLLOUT : POLLIN), 0});
    // A whole request held back by the last pass's quota is due at once.
    const bool waiting = !c.answered && c.in.find('\n') != std::string::npos;
    const int32_t left = waiting ? 0 : MillisecondsUntil(c.deadline);
    if (next < 0 || left < next) next = left;
  }
  return next;
}

bool ControlServer::Accept() {
  for (;;) {
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return false;  // EAGAIN: nobody waits
    }
    UniqueFd accepted(fd);
    // The directory is private already; this also keeps out a process of another user that
    // was handed a descriptor of it.
    if (!SamePeerUser(fd)) continue;
    Connection c;
    c.fd = std::move(accepted);
    c.deadline = Clock::now() + peer_deadline_;
    connections_.push_back(std::move(c));
    return true;
  }
}

bool ControlServer::Advance(Connection& c, const Handler& handler, int* answered) {
  if (!c.answered) {
    size_t end;
    while ((end = c.in.find('\n')) == std::string::npos) {
      if (c.in.size() > kMaxRequest) return false;
      char buffer[1024];
      const ssize_t got = ::recv(c.fd.get(), buffer, sizeof(buffer), 0);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
      if (got <= 0) return false;  // closed before a whole request, or an error
      c.in.append(buffer, static_cast<size_t>(got));
    }
    if (end > kMaxRequest) return false;
    // The quota of this pass is used up: the line waits for the next (Watch asks for it).
    if (*answered >= kMaxAnswersPerServe) return true;
    c.in.resize(end);
    c.out = handler(c.in);
    c.answered = true;
    ++*answered;
  }
  while (c.sent < c.out.size()) {
    const ssize_t sent =
        ::send(c.fd.get(), c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (sent <= 0) return false;
    c.sent += static_cast<size_t>(sent);
  }
  return false;  // all said
}

int ControlServer::Serve(const Handler& handler) {
  int answered = 0;
  std::erase_if(connections_, [&](Connection& c) {
    return Clock::now() >= c.deadline || !Advance(c, handler, &answered);
  });
  for (int accepted = 0; listen_fd_ >= 0 && accepted < kMaxAcceptsPerServe && Accept();
       ++accepted) {
    // A client usually has its request on the way already.
    if (!Advance(connections_.back(), handler, &answered)) {
      connections_.pop_back();
    } else if (connections_.size() > kMaxConnections) {
      connections_.erase(connections_.begin());  // the one that has been waiting longest
    }
  }
  return answered;
}

AskResult AskRunningCopy(const fs::path& data_dir, std::string_view request,
                         std::chrono::milliseconds timeout, std::string* answer,
                         std::string* error) {
  answer->clear();
  const fs::path path = data_dir / kControlSocketName;
  // connect() follows a symbolic link; only a socket of our own is the running copy. Looked at
  // first: where there is no socket nobody runs, however long the path (a directory not yet
  // made cannot be reached by a short address either).
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return AskResult::kNobody;
    *error = "cannot reach " + path.string() + ": " + SystemError();
    return AskResult::kFailed;
  }
  if (S_ISLNK(st.st_mode)) {
    *error = path.string() + " is a symbolic link; Calvira opens its files only as plain files. " +
             "Remove it and start again.";
    return AskResult::kFailed;
  }
  if (!S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) {
    *error = path.string() + " is not a socket of yours. Remove it and start again.";
    return AskResult::kFailed;
  }
  sockaddr_un addr;
  UniqueFd dir;
  if (!MakeAddress(path, &addr, &dir)) {
    *error = "cannot reach " + path.string() + ": the path is too long for a socket";
    return AskResult::kFailed;
  }
  UniqueFd sock(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (sock.get() < 0) {
    *error = "cannot make a socket: " + SystemError();
    return AskResult::kFailed;
  }
  if (::connect(sock.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
    if (errno == ENOENT || errno == ECONNREFUSED || errno == ENOTDIR) return AskResult::kNobody;
    *error = "cannot reach the running copy at " + path.string() + ": " + SystemError();
    return AskResult::kFailed;
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  std::string line(request);
  line += '\n';
  size_t sent = 0;
  while (sent < line.size()) {
    pollfd p{sock.get(), POLLOUT, 0};
    if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0 && errno != EINTR) break;
    const ssize_t n =
        ::send(sock.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  if (sent == line.size()) {
    for (;;) {
      pollfd p{sock.get(), POLLIN, 0};
      const int ready = ::poll(&p, 1, MillisecondsUntil(deadline));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;
      char buffer[16384];
      const ssize_t got = ::recv(sock.get(), buffer, sizeof(buffer), MSG_DONTWAIT);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      // The running copy closes after its answer; an empty one means it dropped us.
      if (got == 0 && !answer->empty()) return AskResult::kAnswered;
      if (got == 0) break;
      if (got < 0) break;
      answer->append(buffer, static_cast<size_t>(got));
    }
  }
  *error = "the copy of Calvira running with " + data_dir.string() + " does not answer";
  return AskResult::kFailed;
}

}  // namespace ce

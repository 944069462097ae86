#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

namespace ce {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kLockName = "calvira.lock";
constexpr const char* kSocketName = "calvira.sock";
constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
// How long a second copy waits for the first to answer; a first copy that is still starting
// up (lock taken, socket not yet listening) is given the same time.
constexpr auto kAnswerTimeout = std::chrono::seconds(2);
constexpr auto kRetryPause = std::chrono::milliseconds(50);
// The first copy reads a request on its event loop; a client that connects and then says
// nothing must not hold the window up for longer than this.
constexpr auto kRequestTimeout = std::chrono::milliseconds(250);
constexpr size_t kMaxLine = 64;

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
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

// Reads one line of at most kMaxLine characters, waiting until `deadline`. False when the
// peer closed, went quiet or sent too much.
bool ReadLine(int fd, Clock::time_point deadline, std::string* line) {
  line->clear();
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char buffer[kMaxLine];
    const ssize_t got = ::read(fd, buffer, sizeof(buffer));
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return false;
    line->append(buffer, static_cast<size_t>(got));
    if (const size_t end = line->find('\n'); end != std::string::npos) {
      line->resize(end);
      return true;
    }
    if (line->size() > kMaxLine) return false;
  }
}

bool SendAll(int fd, const char* text, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, text, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    text += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

enum class LockResult { kTaken, kHeld, kError };

LockResult TryLock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return LockResult::kTaken;
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? LockResult::kHeld : LockResult::kError;
  }
}

// Starts listening at `path`; the descriptor, or -1 with `error` set.
int Listen(const fs::path& path, std::string* error) {
  sockaddr_un addr;
  UniqueFd dir;
  if (!MakeAddress(path, &addr, &dir)) {
    *error = "cannot listen at " + path.string() + ": the path is too long for a socket";
    return -1;
  }
  UniqueFd sock(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (sock.get() < 0) {
    *error = "cannot make a socket: " + SystemError();
    return -1;
  }
  // We hold the lock, so a socket file left here belongs to a copy that has died.
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    *error = "cannot remove the old socket " + path.string() + ": " + SystemError();
    return -1;
  }
  if (::bind(sock.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 ||
      ::listen(sock.get(), 8) != 0) {
    *error = "cannot listen at " + path.string() + ": " + SystemError();
    return -1;
  }
  return sock.release();
}

enum class AskResult { kRaised, kNobody, kFailed };

// Asks the copy listening at `path` to come to the front. kNobody when no one listens yet
// (or any more), so that the caller can look at the lock again.
AskResult AskToRaise(const fs::path& path, Clock::time_point deadline, std::string* error) {
  sockaddr_un addr;
  UniqueFd dir;
  if (!MakeAddress(path, &addr, &dir)) {
    *error =
        "cannot reach the running copy at " + path.string() + ": the path is too long for a socket";
    return AskResult::kFailed;
  }
  UniqueFd sock(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (sock.get() < 0) {
    *error = "cannot make a socket: " + SystemError();
    return AskResult::kFailed;
  }
  if (::connect(sock.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
    if (errno == ENOENT || errno == ECONNREFUSED || errno == EAGAIN || errno == EINTR) {
      return AskResult::kNobody;
    }
    *error = "cannot reach the running copy at " + path.string() + ": " + SystemError();
    return AskResult::kFailed;
  }
  std::string answer;
  if (!SendAll(sock.get(), kRequest, sizeof(kRequest) - 1) ||
      !ReadLine(sock.get(), deadline, &answer) || answer != "ok") {
    *error = "another copy of Calvira is running with this data directory but does not answer";
    return AskResult::kFailed;
  }
  return AskResult::kRaised;
}

}  // namespace

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const fs::path& data_dir, Outcome* outcome,
                                                        std::string* error) {
  Outcome ignored_outcome;
  std::string ignored_error;
  if (!outcome) outcome = &ignored_outcome;
  if (!error) error = &ignored_error;
  error->clear();
  *outcome = Outcome::kFailed;

  std::error_code ec;
  fs::path dir = fs::absolute(data_dir, ec);
  if (ec) dir = data_dir;
  const fs::path lock_path = dir / kLockName;
  const fs::path socket_path = dir / kSocketName;

  UniqueFd lock(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) {
    *error = "cannot open the lock file " + lock_path.string() + ": " + SystemError();
    return nullptr;
  }

  const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
  for (;;) {
    switch (TryLock(lock.get())) {
      case LockResult::kTaken: {
        std::unique_ptr<SingleInstance> instance(new SingleInstance());
        instance->lock_fd_ = lock.release();
        // Without the socket a later start cannot raise us, but the lock alone keeps a second
        // copy away from the data; that is no reason to refuse to run.
        instance->listen_fd_ = Listen(socket_path, error);
        if (instance->listen_fd_ >= 0) instance->socket_path_ = socket_path;
        *outcome = Outcome::kFirst;
        return instance;
      }
      case LockResult::kError:
        *error = "cannot lock " + lock_path.string() + ": " + SystemError();
        return nullptr;
      case LockResult::kHeld:
        break;
    }
    switch (AskToRaise(socket_path, deadline, error)) {
      case AskResult::kRaised:
        *outcome = Outcome::kRaised;
        return nullptr;
      case AskResult::kFailed:
        return nullptr;
      case AskResult::kNobody:
        break;
    }
    // The holder is still starting up or is just shutting down; try both again shortly.
    if (Clock::now() >= deadline) {
      *error = "another copy of Calvira holds " + lock_path.string() + " but does not listen at " +
               socket_path.string();
      return nullptr;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
}

SingleInstance::~SingleInstance() {
  if (listen_fd_ >= 0) {
    ::close(listen_fd_);
    // Before the lock goes: once it is released the file may belong to the next copy.
    if (!socket_path_.empty()) ::unlink(socket_path_.c_str());
  }
  if (lock_fd_ >= 0) {
    ::flock(lock_fd_, LOCK_UN);
    ::close(lock_fd_);
  }
}

int SingleInstance::TakeRaiseRequests() {
  if (listen_fd_ < 0) return 0;
  int raised = 0;
  for (;;) {
    const int accepted = ::accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      break;  // EAGAIN: nothing more pending
    }
    UniqueFd connection(accepted);
    std::string line;
    if (!ReadLine(connection.get(), Clock::now() + kRequestTimeout, &line)) continue;
    SendAll(connection.get(), kAnswer, sizeof(kAnswer) - 1);
    if (line == "raise") ++raised;
  }
  return raised;
}

}  // namespace ce

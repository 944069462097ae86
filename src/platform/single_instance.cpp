#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace ce {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kLockName = "calvira.lock";
constexpr auto kRetryPause = std::chrono::milliseconds(50);

std::string SystemError() {
  return std::strerror(errno);
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
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  int dir_fd = -1;
  std::string name = path.native();
  if (name.size() >= sizeof(addr.sun_path)) {
    // Too long for an address: bind through a descriptor of the directory, as clients do.
    dir_fd = ::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir_fd >= 0)
      name = "/proc/self/fd/" + std::to_string(dir_fd) + "/" + path.filename().native();
  }
  struct DirCloser {
    int fd;
    ~DirCloser() {
      if (fd >= 0) ::close(fd);
    }
  } closer{dir_fd};
  if (name.size() >= sizeof(addr.sun_path)) {
    *error = "cannot listen at " + path.string() + ": the path is too long for a socket";
    return -1;
  }
  std::memcpy(addr.sun_path, name.c_str(), name.size() + 1);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (sock < 0) {
    *error = "cannot make a socket: " + SystemError();
    return -1;
  }
  // We hold the lock, so a socket file left here belongs to a copy that has died.
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    *error = "cannot remove the old socket " + path.string() + ": " + SystemError();
    ::close(sock);
    return -1;
  }
  // The socket file takes its mode from the umask; no other thread runs yet, so the process's
  // umask may be narrowed for the one call.
  const mode_t old_mask = ::umask(0177);
  const bool bound = ::bind(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
  ::umask(old_mask);
  if (!bound || ::listen(sock, 16) != 0) {
    *error = "cannot listen at " + path.string() + ": " + SystemError();
    ::close(sock);
    return -1;
  }
  return sock;
}

}  // namespace

bool SingleInstance::OpenLockFile(const fs::path& dir, std::string* error) {
  const fs::path lock_path = dir / kLockName;
  // Never through a symbolic link: someone who could plant one would have us lock, or create,
  // a file of their choosing.
  // O_NONBLOCK: a FIFO planted under the lock's name must not hold the start up.
  lock_fd_ = ::open(lock_path.c_str(),
                    O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
  if (lock_fd_ < 0) {
    *error = errno == ELOOP
                 ? lock_path.string() + " is a symbolic link; Calvira opens its files " +
                       "only as plain files. Remove it and start again."
                 : "cannot open the lock file " + lock_path.string() + ": " + SystemError();
    return false;
  }
  struct stat st {};
  if (::fstat(lock_fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    *error = lock_path.string() + " is not a plain file of yours. Remove it and start again.";
    return false;
  }
  return true;
}

std::unique_ptr<SingleInstance> SingleInstance::LockAlone(const fs::path& data_dir,
                                                          std::string* error) {
  std::unique_ptr<SingleInstance> instance(new SingleInstance());
  if (!instance->OpenLockFile(data_dir, error)) return nullptr;
  switch (TryLock(instance->lock_fd_)) {
    case LockResult::kTaken:
      return instance;
    case LockResult::kHeld:
      *error = "Calvira is running with this data directory; close it and try again";
      return nullptr;
    case LockResult::kError:
      *error = "cannot lock " + (data_dir / kLockName).string() + ": " + SystemError();
      return nullptr;
  }
  return nullptr;
}

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const fs::path& data_dir, Outcome* outcome,
                                                        std::string* error,
                                                        std::chrono::milliseconds wait) {
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
  const fs::path socket_path = dir / kControlSocketName;

  std::unique_ptr<SingleInstance> instance(new SingleInstance());
  if (!instance->OpenLockFile(dir, error)) return nullptr;
  const int lock_fd = instance->lock_fd_;

  const Clock::time_point deadline = Clock::now() + wait;
  for (;;) {
    switch (TryLock(lock_fd)) {
      case LockResult::kTaken: {
        // Without the socket a later start cannot raise us, but the lock alone keeps a second
        // copy away from the data; that is no reason to refuse to run.
        const int listen_fd = Listen(socket_path, error);
        if (listen_fd >= 0) {
          instance->server_ = std::make_unique<ControlServer>(listen_fd);
          instance->socket_path_ = socket_path;
        }
        *outcome = Outcome::kFirst;
        return instance;
      }
      case LockResult::kError:
        *error = "cannot lock " + lock_path.string() + ": " + SystemError();
        return nullptr;
      case LockResult::kHeld:
        break;
    }
    const auto left =
        std::max(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
                 std::chrono::milliseconds(1));
    std::string answer;
    switch (AskRunningCopy(dir, "raise", left, &answer, error)) {
      case AskResult::kAnswered:
        if (answer == "ok\n") {
          *outcome = Outcome::kRaised;
        } else {
          *error =
              "another copy of Calvira is running with this data directory but does not "
              "answer";
        }
        return nullptr;
      case AskResult::kFailed:
        *error = "another copy of Calvira is running with this data directory but does not answer";
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
  if (server_ != nullptr) {
    server_.reset();
    // Before the lock goes: once it is released the file may belong to the next copy.
    ::unlink(socket_path_.c_str());
  }
  if (lock_fd_ >= 0) {
    ::flock(lock_fd_, LOCK_UN);
    ::close(lock_fd_);
  }
}

}  // namespace ce

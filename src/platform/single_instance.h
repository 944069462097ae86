// One running copy per data directory. The first copy holds a lock file in the data directory
// and listens on a socket there; a later copy finds the lock held, asks the first over the
// socket to raise its window, and exits with 0.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace ce {

class SingleInstance {
 public:
  enum class Outcome {
    kFirst,     // this process runs; it holds the lock until destroyed
    kRaised,    // another copy runs and has been asked to come to the front
    kFailed,    // the lock could not be taken or checked; `error` says why
  };
  static std::unique_ptr<SingleInstance> Acquire(const std::filesystem::path& data_dir,
                                                 Outcome* outcome, std::string* error);
  ~SingleInstance();

  // A descriptor that becomes readable when another copy asks to be raised; the window system
  // waits on it together with the display.
  int RaiseRequestFd() const { return listen_fd_; }
  // Accepts and answers every pending request; returns how many asked to raise the window.
  int TakeRaiseRequests();

 private:
  SingleInstance() = default;
  int lock_fd_ = -1;
  int listen_fd_ = -1;
  std::filesystem::path socket_path_;
};

}  // namespace ce

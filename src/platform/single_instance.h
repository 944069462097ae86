// One running copy per data directory. The first copy holds a lock file in the data directory
// and listens on a socket there; a later copy finds the lock held, asks the first over the
// socket to raise its window, and exits with 0.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/control_socket.h"

namespace ce {

class SingleInstance {
 public:
  enum class Outcome {
    kFirst,   // this process runs; it holds the lock until destroyed
    kRaised,  // another copy runs and has been asked to come to the front
    kFailed,  // the lock could not be taken or checked; `error` says why
  };
  // A later copy waits up to `wait` for the first to answer: one that is still starting up
  // answers only once its window exists.
  static std::unique_ptr<SingleInstance> Acquire(
      const std::filesystem::path& data_dir, Outcome* outcome, std::string* error,
      std::chrono::milliseconds wait = std::chrono::seconds(10));
  // Takes the lock, and nothing more, for a tool that changes the store behind the program's back
  // (an import, a restore): null, with `error` saying why, when a copy of the program holds it.
  static std::unique_ptr<SingleInstance> LockAlone(const std::filesystem::path& data_dir,
                                                   std::string* error);

  ~SingleInstance();

  // The server of the socket through which later copies and `calvira --inspect` reach this
  // one; null when the socket could not be made (the lock still holds).
  ControlServer* Server() { return server_.get(); }

 private:
  SingleInstance() = default;
  // Opens the lock file of `dir` as this instance's; false with `error` set.
  bool OpenLockFile(const std::filesystem::path& dir, std::string* error);
  int lock_fd_ = -1;
  std::unique_ptr<ControlServer> server_;
  std::filesystem::path socket_path_;
};

}  // namespace ce

#include "support/files.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace calvira::testing {

std::string ReadFile(const std::filesystem::path& file) {
  std::stringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

std::string AllBytes(const std::filesystem::path& dir) {
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) all += ReadFile(entry.path());
  return all;
}

std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    struct stat st {};
    if (::lstat(entry.path().c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      files[name] = "-> " + std::filesystem::read_symlink(entry.path(), ec).string();
      continue;
    }
    files[name] = ReadFile(entry.path()) + "|mtime " + std::to_string(st.st_mtim.tv_sec) + "." +
                  std::to_string(st.st_mtim.tv_nsec);
  }
  return files;
}

bool RunningAsRoot() {
  return ::geteuid() == 0;
}

void HandToPlainUser(const std::filesystem::path& dir) {
  if (!RunningAsRoot()) return;
  std::error_code ec;
  (void)::lchown(dir.c_str(), kPlainUser, kPlainUser);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ec)) {
    (void)::lchown(entry.path().c_str(), kPlainUser, kPlainUser);
  }
}

std::string RunAsPlainUser(const std::function<std::string()>& body) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "<child failed>";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    if (RunningAsRoot() &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(kPlainUser, kPlainUser, kPlainUser) != 0 ||
         ::setresuid(kPlainUser, kPlainUser, kPlainUser) != 0)) {
      ::_exit(3);
    }
    // A blocking write to a pipe returns when all is written, as the parent reads meanwhile.
    const std::string text = body();
    ::_exit(::write(pipe_fds[1], text.data(), text.size()) == std::ssize(text) ? 0 : 4);
  }
  ::close(pipe_fds[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) text.append(buffer, static_cast<size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(pipe_fds[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return "<child failed>";
  }
  return text;
}

}  // namespace calvira::testing

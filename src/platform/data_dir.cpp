#include "platform/data_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ce {

std::filesystem::path DefaultDataDirectory() {
  if (const char* dir = std::getenv("CALVIRA_DATA_DIR"); dir && *dir) return dir;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && xdg[0] == '/') {
    return std::filesystem::path(xdg) / "calvira";
  }
  if (const char* home = std::getenv("HOME"); home && *home) {
    return std::filesystem::path(home) / ".local" / "share" / "calvira";
  }
  // No home at all (a bare service account): the working directory is the only sane place.
  return std::filesystem::current_path() / "calvira-data";
}

namespace {

// Why the directory could not be reached, from errno.
std::string Unreachable(const std::filesystem::path& dir) {
  if (errno == EACCES) {
    return dir.string() + ": permission denied; check the permissions of " + dir.string() +
           " and of the directories above it";
  }
  return "cannot open " + dir.string() + ": " + std::strerror(errno);
}

}  // namespace

std::string CheckDataDirectory(const std::filesystem::path& dir, std::filesystem::path* resolved) {
  char* real_name = ::realpath(dir.c_str(), nullptr);
  if (real_name == nullptr) return Unreachable(dir);
  const std::filesystem::path real(real_name);
  std::free(real_name);
  struct stat st {};
  if (::stat(real.c_str(), &st) != 0) return Unreachable(dir);
  if (!S_ISDIR(st.st_mode)) return dir.string() + " is not a directory";
  if (st.st_uid != ::geteuid()) {
    return dir.string() + " belongs to another user (uid " + std::to_string(st.st_uid) +
           "); Calvira keeps your records only in a directory of your own: choose one with "
           "--data-dir or $CALVIRA_DATA_DIR";
  }
  if (st.st_mode & (S_IWGRP | S_IWOTH)) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return dir.string() + " can be changed by other users (mode " + mode +
           "); make it private with 'chmod 700 " + dir.string() + "' and start again";
  }
  if (resolved != nullptr) *resolved = real;
  return {};
}

std::string EnsureDataDirectory(const std::filesystem::path& dir, std::filesystem::path* resolved) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 && errno == ENOENT) {
    std::error_code ec;
    if (dir.has_parent_path() && dir.parent_path() != dir) {
      std::filesystem::create_directories(dir.parent_path(), ec);
      if (ec) return "cannot create " + dir.parent_path().string() + ": " + ec.message();
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
      return "cannot create " + dir.string() + ": " + std::strerror(errno);
    }
  }
  return CheckDataDirectory(dir, resolved);
}

}  // namespace ce

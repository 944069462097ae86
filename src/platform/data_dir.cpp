#include "platform/data_dir.h"

#include <sys/stat.h>

#include <cerrno>
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

std::string EnsureDataDirectory(const std::filesystem::path& dir) {
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec)) return {};
  if (dir.has_parent_path() && dir.parent_path() != dir) {
    std::filesystem::create_directories(dir.parent_path(), ec);
    if (ec) return "cannot create " + dir.parent_path().string() + ": " + ec.message();
  }
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    return "cannot create " + dir.string() + ": " + std::strerror(errno);
  }
  if (!std::filesystem::is_directory(dir, ec)) return dir.string() + " is not a directory";
  return {};
}

}  // namespace ce

// The data directory: $CALVIRA_DATA_DIR when set, else $XDG_DATA_HOME/calvira, else
// ~/.local/share/calvira.
#pragma once

#include <filesystem>
#include <string>

namespace ce {

std::filesystem::path DefaultDataDirectory();

// Creates the directory (and its parents) if missing; a directory this call creates is made
// private to the user (0700). Returns an empty string or a message saying what failed.
std::string EnsureDataDirectory(const std::filesystem::path& dir);

}  // namespace ce

// The data directory: $CALVIRA_DATA_DIR when set, else $XDG_DATA_HOME/calvira, else
// ~/.local/share/calvira.
#pragma once

#include <filesystem>
#include <string>

namespace ce {

std::filesystem::path DefaultDataDirectory();

// Creates the directory (and its parents) if missing; a directory this call creates is made
// private to the user (0700). Then checks it as CheckDataDirectory does. Returns an empty string
// or a message saying what is wrong and what to do.
std::string EnsureDataDirectory(const std::filesystem::path& dir,
                                std::filesystem::path* resolved = nullptr);

// Whether the existing directory can be trusted with the user's records: it must belong to the
// user and be writable by no one else, as ssh asks of its own directory. Someone else who could
// write there could swap the store, the lock or the socket for files of their own. Returns an
// empty string or a message saying what is wrong and what to do.
//
// The directory, or any directory above it, may be reached through symbolic links (a linked
// home, a data directory on another disk). It is resolved once, here, and the real directory is
// the one checked; *resolved (when given) gets its path, which callers then use for every file
// inside, so that those files can be opened without following any link.
std::string CheckDataDirectory(const std::filesystem::path& dir,
                               std::filesystem::path* resolved = nullptr);

}  // namespace ce

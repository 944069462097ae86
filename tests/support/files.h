// Helpers for tests of what the program does to the files of a data directory: a snapshot of
// every file to compare before and after, and a way to run code as a user without privileges
// (permission tests mean nothing to root, who may read and write any file).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace calvira::testing {

// Every byte of the file ("" when there is none).
std::string ReadFile(const std::filesystem::path& file);

// Every byte of every file in the directory (not descending), one file after another: what
// anyone who can read the disk finds there.
std::string AllBytes(const std::filesystem::path& dir);

// Every entry of the directory (not descending) by name: its bytes and modification time, or
// the target of a symbolic link. Two snapshots are equal when nothing was written, made or
// removed there.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir);

// The user the helpers below run as when the tests run as root ("nobody").
inline constexpr uid_t kPlainUser = 65534;

// Whether the tests run as root.
bool RunningAsRoot();

// When running as root, gives the directory and everything in it to kPlainUser; otherwise does
// nothing.
void HandToPlainUser(const std::filesystem::path& dir);

// Runs `body` in a child process, as kPlainUser when running as root and as ourselves otherwise,
// and returns the text it returned ("<child failed>" when it did not end normally).
std::string RunAsPlainUser(const std::function<std::string()>& body);

}  // namespace calvira::testing

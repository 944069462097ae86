// The commands of calvira-data that take her records out of the store and bring them in.
#pragma once

#include <filesystem>
#include <string>

enum class ExportFormat { kJson, kCsv };

// Writes every record of the store in `dir`: JSON to `out` (standard output when empty), or CSV
// files into the directory `out`. Reads one snapshot, so it may run beside the program.
int ExportCommand(const std::filesystem::path& dir, ExportFormat format,
                  const std::filesystem::path& out);

// Checks the JSON export `file` ("-": standard input) whole, then merges it into the store of
// `dir` in one unit, creating the store when there is none yet.
int ImportCommand(const std::filesystem::path& dir, const std::filesystem::path& file);

// Writes a consistent copy of the store to `file`; may run beside the program.
int BackupCommand(const std::filesystem::path& dir, const std::filesystem::path& file);

// Checks that `file` is a whole Calvira store, keeps the store it replaces as a dated .bak
// beside it, and puts the records of `file` in its place. Refuses while the program runs.
int RestoreCommand(const std::filesystem::path& dir, const std::filesystem::path& file);

// Prints every breach of the store's rules; exit 1 when there is any. With `repair`, first
// keeps a dated .bak, then mends what can be mended and prints each change.
int CheckCommand(const std::filesystem::path& dir, bool repair);

// Creates any missing database and the settings record, inside whatever transaction is open.
// False with `error` set.
bool PrepareStore(std::string* error);

// Why the last store call failed, for a message.
std::string Reason();

// Prints "calvira-data: message" on standard error; returns 1.
int Fail(const std::string& message);

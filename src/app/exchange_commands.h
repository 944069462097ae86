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

// Creates any missing database and the settings record, inside whatever transaction is open.
// False with `error` set.
bool PrepareStore(std::string* error);

// Why the last store call failed, for a message.
std::string Reason();

// Prints "calvira-data: message" on standard error; returns 1.
int Fail(const std::string& message);

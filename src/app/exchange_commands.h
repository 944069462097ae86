// The commands of calvira-data that take her records out of the store and bring them in.
#pragma once

#include <filesystem>
#include <string>

class Passwords;

enum class ExportFormat { kJson, kCsv };

// Each command opens an encrypted store with its password from `passwords`.

// Writes every record of the store in `dir`: JSON to `out` (standard output when empty), or CSV
// files into the directory `out`. Reads one snapshot, so it may run beside the program.
int ExportCommand(const std::filesystem::path& dir, ExportFormat format,
                  const std::filesystem::path& out, Passwords& passwords);

// Checks the JSON export `file` ("-": standard input) whole, then merges it into the store of
// `dir` in one unit, creating the store when there is none yet.
int ImportCommand(const std::filesystem::path& dir, const std::filesystem::path& file,
                  Passwords& passwords);

// Writes a consistent copy of the store to `file`, encrypted as the store is; may run beside the
// program.
int BackupCommand(const std::filesystem::path& dir, const std::filesystem::path& file,
                  Passwords& passwords);

// Checks that `file` (plain, or encrypted under its own password) is a whole Calvira store,
// keeps the store it replaces as a dated .bak beside it, and puts the records of `file` in its
// place. The store keeps its own password and encryption; one made here takes those of `file`.
// Refuses while the program runs.
int RestoreCommand(const std::filesystem::path& dir, const std::filesystem::path& file,
                   Passwords& passwords);

// Prints every breach of the store's rules; exit 1 when there is any. With `repair`, first
// keeps a dated .bak, then mends what can be mended and prints each change.
int CheckCommand(const std::filesystem::path& dir, bool repair, Passwords& passwords);

// Encrypts the store under a new password, which the settings record keeps too; an encrypted
// store's password is changed. Refuses while the program runs.
int EncryptCommand(const std::filesystem::path& dir, Passwords& passwords);

// Makes an encrypted store plain again and removes its password. Refuses while the program runs.
int DecryptCommand(const std::filesystem::path& dir, Passwords& passwords);

// Creates any missing database and the settings record, inside whatever transaction is open.
// False with `error` set.
bool PrepareStore(std::string* error);

// Why the last store call failed, for a message.
std::string Reason();

// Prints "calvira-data: message" on standard error; returns 1.
int Fail(const std::string& message);

// The SQLite side of the object store: the schema, and one statement per operation. It knows
// nothing of sort orders or seek positions; object_store.cpp keeps those in memory.
//
// Schema (user_version 1, application_id 'CVLR'):
//   databases(oid, name, type_id, sort1, sort2)   one row per database, oid in creation order
//   records(oid, db)                              one row per record, oid in creation order
//   props(oid, pos, pid, value)                   a record's properties in their order; value
//                                                 is INTEGER, REAL or TEXT by the type in pid
// The file's text encoding is UTF-16LE, so the program's strings are stored exactly as given.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ce::detail {

// A property as stored: integer types keep their value in num (sign- or zero-extended as the
// type says), R8 in real, LPWSTR in text.
struct StoredProp {
  CEPROPID id = 0;
  int64_t num = 0;
  double real = 0.0;
  std::u16string text;

  StoredProp() = default;
  StoredProp(const StoredProp&) = default;
  StoredProp(StoredProp&&) noexcept = default;
  StoredProp& operator=(const StoredProp&) = default;
  StoredProp& operator=(StoredProp&&) noexcept = default;
  // A record's text may be a password or a note: it does not stay behind in freed memory.
  ~StoredProp();
};

struct DatabaseRow {
  CEOID oid = 0;
  std::u16string name;
  DWORD type_id = 0;
  CEPROPID sort[2] = {0, 0};
};

// Owns a prepared statement; resets it (keeping it prepared) when a use ends.
class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~Statement();
  Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
  Statement& operator=(Statement&& other) noexcept;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteStore {
 public:
  // Opens the store file; creates it (0600) with the schema unless read_only. On failure returns
  // null and, in *error, a message that tells the cause (permission, read-only, full disk, I/O
  // error, a foreign or newer or damaged file, a symbolic link) and what to do; the file is then
  // as it was. A read-only open makes no file, not even a journal, and refuses symbolic links.
  // A store encrypted under a password opens only with `key`, the password; without one it is
  // told apart from a foreign file by its header, which is not SQLite's.
  static std::unique_ptr<SqliteStore> Open(const std::filesystem::path& file, bool read_only,
                                           const char* vfs, std::string* error,
                                           std::string_view key = {}, bool* wrong_key = nullptr);
  ~SqliteStore();
  // Whether `file` is a store encrypted under a password, told by its header alone.
  static bool LooksEncrypted(const std::filesystem::path& file);

  // Every operation returns an SQLite result code; SQLITE_OK (0) on success. The write
  // operations are atomic: on failure nothing of them is left in the file.
  int LoadDatabases(std::vector<DatabaseRow>& out);
  int InsertDatabase(DatabaseRow& row);  // sets row.oid
  int DeleteDatabase(CEOID oid);
  // Calls `visit` for every record of the database, oldest first, with its properties.
  int LoadRecords(CEOID db, const std::function<void(CEOID, std::vector<StoredProp>&&)>& visit);
  // Replaces all properties of record `oid`, or creates a record when oid is 0 (*out_oid gets
  // its id either way).
  int WriteRecord(CEOID db, CEOID oid, const std::vector<StoredProp>& props, CEOID* out_oid);
  int DeleteRecord(CEOID oid);
  // Changes whenever another connection commits to the file.
  int DataVersion(int64_t* version);

  // An explicit transaction around several operations (they nest inside it as savepoints).
  int Begin();
  // A transaction that only reads: its first read fixes the snapshot it sees.
  int BeginRead();
  int Commit();
  int Rollback();
  bool InTransaction() const;

  // Copies the whole store, one consistent moment of it, into the empty file `to` with SQLite's
  // online backup, so that writers may go on meanwhile. The copy is encrypted under `key`, which
  // must be the store's own (empty for a plain store).
  int CopyTo(const std::filesystem::path& to, std::string_view key = {});
  // Replaces every row of the store with those of `source`, one moment of it, inside the
  // transaction the caller has begun. Row by row, so that the two may be encrypted differently.
  // *source_failed tells a failure to read `source` from one to write the store.
  int ReplaceRowsFrom(SqliteStore& source, bool* source_failed);
  // Writes the whole store, encrypted under `key` (plain when empty), into the empty file `to`,
  // after moving every change of the write-ahead log into the store itself.
  int ExportTo(const std::filesystem::path& to, std::string_view key);
  // Moves every change of the write-ahead log into the store file and empties the log.
  int Checkpoint();
  // SQLite's own check of the file, and for an encrypted store SQLCipher's check of every page's
  // authentication code: what they found wrong, nothing when all is well.
  int IntegrityCheck(std::vector<std::string>* problems);

  // The last error message of the connection, for reports.
  std::string LastMessage() const;
  // What an operation's failure `rc` means for the user, and what to do about it.
  std::string Explain(int rc) const;

 private:
  explicit SqliteStore(sqlite3* db) : db_(db) {}
  int Prepare();
  int Exec(const char* sql);
  int Step(const Statement& stmt);  // one step of a statement that returns no rows
  int BeginWrite();
  int EndWrite(int rc);

  sqlite3* db_ = nullptr;
  bool keyed_ = false;
  Statement begin_write_, release_write_, rollback_write_;
  Statement select_databases_, insert_database_, delete_database_records_props_,
      delete_database_records_, delete_database_;
  Statement select_records_, insert_record_, delete_props_, insert_prop_, delete_record_;
  Statement data_version_;
};

// The Win32-style error code for an SQLite result code.
DWORD ErrorFromSqlite(int rc);

}  // namespace ce::detail

#include "platform/sqlite_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/object_store.h"

namespace ce::detail {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kApplicationId = 0x43564C52;  // 'CVLR'

constexpr const char* kSchema = R"sql(
CREATE TABLE databases(
  oid INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL UNIQUE,
  type_id INTEGER NOT NULL,
  sort1 INTEGER NOT NULL,
  sort2 INTEGER NOT NULL);
CREATE TABLE records(
  oid INTEGER PRIMARY KEY AUTOINCREMENT,
  db INTEGER NOT NULL REFERENCES databases(oid));
CREATE INDEX records_by_db ON records(db, oid);
CREATE TABLE props(
  oid INTEGER NOT NULL REFERENCES records(oid),
  pos INTEGER NOT NULL,
  pid INTEGER NOT NULL,
  value,
  PRIMARY KEY(oid, pos)) WITHOUT ROWID;
)sql";

bool IsIntegerType(WORD type) {
  return type == CEVT_I2 || type == CEVT_UI2 || type == CEVT_I4 || type == CEVT_UI4 ||
         type == CEVT_BOOL;
}

std::string Message(sqlite3* db, const std::string& what) {
  return what + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

}  // namespace

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    other.stmt_ = nullptr;
  }
  return *this;
}

DWORD ErrorFromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
      return ERROR_SUCCESS;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ERROR_FILE_CORRUPT;
    case SQLITE_CONSTRAINT:
      return ERROR_DUP_NAME;
    default:
      return ERROR_WRITE_FAULT;
  }
}

std::unique_ptr<SqliteStore> SqliteStore::Open(const std::filesystem::path& file, bool read_only,
                                               const char* vfs, std::string* error) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(file, ec);
  if (read_only && !exists) {
    *error = "no store at " + file.string();
    return nullptr;
  }
  if (!exists) {
    // Make the file ourselves so that it is private from its first byte; SQLite gives its
    // journal files the same mode.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) {
      *error = "cannot create " + file.string() + ": " + std::strerror(errno);
      return nullptr;
    }
    if (fd >= 0) ::close(fd);
  }

  sqlite3* raw = nullptr;
  const int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                    SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
  int rc = sqlite3_open_v2(file.c_str(), &raw, flags, vfs);
  std::unique_ptr<SqliteStore> store(new SqliteStore(raw));
  if (rc != SQLITE_OK) {
    *error = Message(raw, "cannot open " + file.string());
    return nullptr;
  }
  sqlite3_busy_timeout(raw, 5000);

  // What is in the file? A foreign or damaged file is refused before anything is written.
  int tables = 0, version = 0, app_id = 0;
  {
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(raw,
                            "SELECT (SELECT count(*) FROM sqlite_schema), "
                            "(SELECT user_version FROM pragma_user_version), "
                            "(SELECT application_id FROM pragma_application_id)",
                            -1, &stmt, nullptr);
    Statement probe(stmt);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
      *error = file.string() + " is not a Calvira store (" + sqlite3_errmsg(raw) + ")";
      return nullptr;
    }
    tables = sqlite3_column_int(stmt, 0);
    version = sqlite3_column_int(stmt, 1);
    app_id = sqlite3_column_int(stmt, 2);
  }
  if (tables > 0 && app_id != kApplicationId) {
    *error = file.string() + " is not a Calvira store";
    return nullptr;
  }
  if (version > kSchemaVersion) {
    *error =
        file.string() + " was written by a newer Calvira (format " + std::to_string(version) + ")";
    return nullptr;
  }
  if (tables == 0) {
    if (read_only) {
      *error = "no store at " + file.string();
      return nullptr;
    }
    // A new file: the encoding can only be chosen before the first table exists.
    if ((rc = store->Exec("PRAGMA encoding = 'UTF-16le'")) != SQLITE_OK ||
        (rc = store->Exec("BEGIN IMMEDIATE")) != SQLITE_OK ||
        (rc = store->Exec(kSchema)) != SQLITE_OK ||
        (rc = store->Exec(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str())) !=
            SQLITE_OK ||
        (rc = store->Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str())) !=
            SQLITE_OK ||
        (rc = store->Exec("COMMIT")) != SQLITE_OK) {
      *error = Message(raw, "cannot set up the store in " + file.string());
      store->Exec("ROLLBACK");
      return nullptr;
    }
  }
  if (!read_only) {
    // WAL with full syncs: a write is on disk when its commit returns, and a reader never sees
    // half a write.
    if ((rc = store->Exec("PRAGMA journal_mode = WAL")) != SQLITE_OK ||
        (rc = store->Exec("PRAGMA synchronous = FULL")) != SQLITE_OK) {
      *error = Message(raw, "cannot set up the store in " + file.string());
      return nullptr;
    }
  }
  if ((rc = store->Prepare()) != SQLITE_OK) {
    *error = Message(raw, "cannot read the store in " + file.string());
    return nullptr;
  }
  return store;
}

SqliteStore::~SqliteStore() {
  // Statements first: a connection with live statements does not close.
  begin_write_ = Statement();
  release_write_ = Statement();
  rollback_write_ = Statement();
  select_databases_ = Statement();
  insert_database_ = Statement();
  delete_database_records_props_ = Statement();
  delete_database_records_ = Statement();
  delete_database_ = Statement();
  select_records_ = Statement();
  insert_record_ = Statement();
  delete_props_ = Statement();
  insert_prop_ = Statement();
  delete_record_ = Statement();
  data_version_ = Statement();
  if (db_ && sqlite3_get_autocommit(db_) == 0)
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}

int SqliteStore::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int SqliteStore::Prepare() {
  struct Entry {
    Statement* target;
    const char* sql;
  };
  const Entry entries[] = {
      {&begin_write_, "SAVEPOINT write"},
      {&release_write_, "RELEASE write"},
      {&rollback_write_, "ROLLBACK TO write"},
      {&select_databases_, "SELECT oid, name, type_id, sort1, sort2 FROM databases ORDER BY oid"},
      {&insert_database_, "INSERT INTO databases(name, type_id, sort1, sort2) VALUES(?, ?, ?, ?)"},
      {&delete_database_records_props_,
       "DELETE FROM props WHERE oid IN (SELECT oid FROM records WHERE db = ?)"},
      {&delete_database_records_, "DELETE FROM records WHERE db = ?"},
      {&delete_database_, "DELETE FROM databases WHERE oid = ?"},
      {&select_records_,
       "SELECT r.oid, p.pid, p.value FROM records r LEFT JOIN props p ON p.oid = r.oid "
       "WHERE r.db = ? ORDER BY r.oid, p.pos"},
      {&insert_record_, "INSERT INTO records(db) VALUES(?)"},
      {&delete_props_, "DELETE FROM props WHERE oid = ?"},
      {&insert_prop_, "INSERT INTO props(oid, pos, pid, value) VALUES(?, ?, ?, ?)"},
      {&delete_record_, "DELETE FROM records WHERE oid = ?"},
      {&data_version_, "PRAGMA data_version"},
  };
  for (const Entry& e : entries) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, e.sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) return rc;
    *e.target = Statement(stmt);
  }
  return SQLITE_OK;
}

int SqliteStore::Step(const Statement& stmt) {
  int rc = sqlite3_step(stmt.get());
  if (rc == SQLITE_DONE || rc == SQLITE_ROW) rc = SQLITE_OK;
  sqlite3_reset(stmt.get());
  sqlite3_clear_bindings(stmt.get());
  return rc;
}

int SqliteStore::BeginWrite() {
  return Step(begin_write_);
}

int SqliteStore::EndWrite(int rc) {
  if (rc == SQLITE_OK) {
    rc = Step(release_write_);
    if (rc == SQLITE_OK) return rc;
  }
  // Undo whatever part of the write was made; the savepoint then goes too.
  Step(rollback_write_);
  Step(release_write_);
  return rc;
}

int SqliteStore::LoadDatabases(std::vector<DatabaseRow>& out) {
  out.clear();
  sqlite3_stmt* s = select_databases_.get();
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    DatabaseRow row;
    row.oid = static_cast<CEOID>(sqlite3_column_int64(s, 0));
    const auto* name = static_cast<const char16_t*>(sqlite3_column_text16(s, 1));
    row.name.assign(name ? name : u"", static_cast<size_t>(sqlite3_column_bytes16(s, 1)) / 2);
    row.type_id = static_cast<DWORD>(sqlite3_column_int64(s, 2));
    row.sort[0] = static_cast<CEPROPID>(sqlite3_column_int64(s, 3));
    row.sort[1] = static_cast<CEPROPID>(sqlite3_column_int64(s, 4));
    out.push_back(std::move(row));
  }
  sqlite3_reset(s);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int SqliteStore::InsertDatabase(DatabaseRow& row) {
  int rc = BeginWrite();
  if (rc != SQLITE_OK) return rc;
  sqlite3_stmt* s = insert_database_.get();
  sqlite3_bind_text16(s, 1, row.name.data(), static_cast<int>(row.name.size() * 2), SQLITE_STATIC);
  sqlite3_bind_int64(s, 2, row.type_id);
  sqlite3_bind_int64(s, 3, row.sort[0]);
  sqlite3_bind_int64(s, 4, row.sort[1]);
  rc = Step(insert_database_);
  if (rc == SQLITE_OK) row.oid = static_cast<CEOID>(sqlite3_last_insert_rowid(db_));
  return EndWrite(rc);
}

int SqliteStore::DeleteDatabase(CEOID oid) {
  int rc = BeginWrite();
  if (rc != SQLITE_OK) return rc;
  for (const Statement* stmt :
       {&delete_database_records_props_, &delete_database_records_, &delete_database_}) {
    sqlite3_bind_int64(stmt->get(), 1, oid);
    if ((rc = Step(*stmt)) != SQLITE_OK) break;
  }
  return EndWrite(rc);
}

int SqliteStore::LoadRecords(CEOID db,
                             const std::function<void(CEOID, std::vector<StoredProp>&&)>& visit) {
  sqlite3_stmt* s = select_records_.get();
  sqlite3_bind_int64(s, 1, db);
  CEOID current = 0;
  std::vector<StoredProp> props;
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    const auto oid = static_cast<CEOID>(sqlite3_column_int64(s, 0));
    if (oid != current) {
      if (current != 0) visit(current, std::move(props));
      props.clear();
      current = oid;
    }
    if (sqlite3_column_type(s, 1) == SQLITE_NULL) continue;  // a record without properties
    StoredProp p;
    p.id = static_cast<CEPROPID>(sqlite3_column_int64(s, 1));
    const WORD type = TypeFromPropId(p.id);
    if (type == CEVT_R8) {
      p.real = sqlite3_column_double(s, 2);
    } else if (type == CEVT_LPWSTR) {
      const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(s, 2));
      p.text.assign(text ? text : u"", static_cast<size_t>(sqlite3_column_bytes16(s, 2)) / 2);
    } else {
      p.num = sqlite3_column_int64(s, 2);
    }
    props.push_back(std::move(p));
  }
  if (current != 0 && rc == SQLITE_DONE) visit(current, std::move(props));
  sqlite3_reset(s);
  sqlite3_clear_bindings(s);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int SqliteStore::WriteRecord(CEOID db, CEOID oid, const std::vector<StoredProp>& props,
                             CEOID* out_oid) {
  int rc = BeginWrite();
  if (rc != SQLITE_OK) return rc;
  if (oid == 0) {
    sqlite3_bind_int64(insert_record_.get(), 1, db);
    rc = Step(insert_record_);
    if (rc == SQLITE_OK) {
      const sqlite3_int64 rowid = sqlite3_last_insert_rowid(db_);
      // Object ids are 32-bit; a store that has used them all up takes no more records.
      if (rowid > 0xFFFFFFFFLL) {
        rc = SQLITE_FULL;
      } else {
        oid = static_cast<CEOID>(rowid);
      }
    }
  } else {
    sqlite3_bind_int64(delete_props_.get(), 1, oid);
    rc = Step(delete_props_);
  }
  sqlite3_stmt* s = insert_prop_.get();
  for (size_t pos = 0; rc == SQLITE_OK && pos < props.size(); ++pos) {
    const StoredProp& p = props[pos];
    sqlite3_bind_int64(s, 1, oid);
    sqlite3_bind_int64(s, 2, static_cast<sqlite3_int64>(pos));
    sqlite3_bind_int64(s, 3, p.id);
    const WORD type = TypeFromPropId(p.id);
    if (type == CEVT_R8) {
      sqlite3_bind_double(s, 4, p.real);
    } else if (type == CEVT_LPWSTR) {
      sqlite3_bind_text16(s, 4, p.text.data(), static_cast<int>(p.text.size() * 2), SQLITE_STATIC);
    } else if (IsIntegerType(type)) {
      sqlite3_bind_int64(s, 4, p.num);
    }
    rc = Step(insert_prop_);
  }
  rc = EndWrite(rc);
  if (rc == SQLITE_OK) *out_oid = oid;
  return rc;
}

int SqliteStore::DeleteRecord(CEOID oid) {
  int rc = BeginWrite();
  if (rc != SQLITE_OK) return rc;
  sqlite3_bind_int64(delete_props_.get(), 1, oid);
  rc = Step(delete_props_);
  if (rc == SQLITE_OK) {
    sqlite3_bind_int64(delete_record_.get(), 1, oid);
    rc = Step(delete_record_);
  }
  return EndWrite(rc);
}

int SqliteStore::DataVersion(int64_t* version) {
  sqlite3_stmt* s = data_version_.get();
  int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) {
    *version = sqlite3_column_int64(s, 0);
    rc = SQLITE_OK;
  }
  sqlite3_reset(s);
  return rc;
}

int SqliteStore::Begin() {
  return Exec("BEGIN IMMEDIATE");
}
int SqliteStore::Commit() {
  return Exec("COMMIT");
}
int SqliteStore::Rollback() {
  return Exec("ROLLBACK");
}
bool SqliteStore::InTransaction() const {
  return sqlite3_get_autocommit(db_) == 0;
}

std::string SqliteStore::LastMessage() const {
  return sqlite3_errmsg(db_);
}

}  // namespace ce::detail

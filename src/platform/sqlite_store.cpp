#include "platform/sqlite_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <sys/stat.h>

#include <string.h>  // explicit_bzero

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/object_store.h"
#include "platform/text.h"

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

// Why a store could not be opened. Each cause has its own message that says what to do about
// it. Whatever the cause, the file is left exactly as it was, and no message may lead anyone to
// delete a good store: "not a Calvira store" is said only of a file that is not one.
enum class Problem {
  kNoStore,
  kPermission,          // a file or the directory we may not use
  kReadOnlyFile,        // we may read the store but not write it
  kReadOnlyDirectory,   // the directory cannot take the store's journal files
  kReadOnlyFileSystem,  // mounted read-only
  kReadOnly,            // SQLite says read-only, and we could not see why
  kDiskFull,
  kIoError,
  kNotCalvira,
  kEncrypted,      // a store encrypted under a password, opened without one
  kWrongPassword,  // the password given does not open it
  kNewer,
  kDamaged,
  kBusy,
  kNoMemory,
  kSymlink,
  kNotRegular,
  kUnfinished,  // a read-only open would have to finish the last writer's journal (`path`)
  kOther,
};

// `path` is the file concerned (the store or one of its journal files).
std::string Describe(Problem problem, const std::filesystem::path& path,
                     const std::filesystem::path& file, const std::string& detail = {}) {
  const std::string f = file.string();
  const std::string p = path.string();
  const std::string dir = file.parent_path().string();
  switch (problem) {
    case Problem::kNoStore:
      return "no store at " + f + "; start Calvira or run 'calvira-data init' to make one";
    case Problem::kPermission:
      return "cannot open " + p + ": permission denied; the files in " + dir +
             " must belong to you and be readable and writable by you: check their owner and "
             "permissions (ls -l " +
             dir + ")";
    case Problem::kReadOnlyFile:
      return p +
             " is read-only; Calvira must be able to write it: check its permissions "
             "(chmod u+w " +
             p + ")";
    case Problem::kReadOnlyDirectory:
      return dir + " is read-only; Calvira must be able to write there: check the permissions of " +
             dir + " (chmod u+w " + dir + ")";
    case Problem::kReadOnlyFileSystem:
      return f + " is on a read-only file system; copy " + dir +
             " to a writable place and use that with --data-dir";
    case Problem::kReadOnly:
      return f + " cannot be written (read-only); check the permissions of " + dir +
             " and of the files in it";
    case Problem::kDiskFull:
      return "the disk that holds " + f +
             " is full; nothing was changed: free some space and "
             "start again";
    case Problem::kIoError:
      return "cannot read or write " + f + ": input/output error; the disk may be failing: copy " +
             dir + " to a safe place before anything else";
    case Problem::kNotCalvira:
      return f +
             " is not a Calvira store, and it was left as it is; move it elsewhere, or "
             "choose another data directory with --data-dir";
    case Problem::kEncrypted:
      return f + " is encrypted; its password is needed to open it";
    case Problem::kWrongPassword:
      return "the password does not open " + f + "; nothing was changed";
    case Problem::kNewer:
      return f + " was written by a newer Calvira (format " + detail +
             "), and it was left as it is; open it with that version";
    case Problem::kDamaged:
      return f + " is damaged (" + detail + "), and it was left as it is; keep a copy of " + dir +
             " before anything else (sqlite3's .recover command can save what is readable)";
    case Problem::kBusy:
      return f + " is locked by another program; close that program and start again";
    case Problem::kNoMemory:
      return "not enough memory to open " + f + "; close other programs and start again";
    case Problem::kSymlink:
      return p + " is a symbolic link; Calvira opens its files only as plain files in " + dir;
    case Problem::kNotRegular:
      return p + " is not a regular file; move it away from " + dir;
    case Problem::kUnfinished:
      // A write-ahead log holds changes to be kept; a rollback journal, one to be undone.
      if (p.ends_with("-wal")) {
        return f + " was not closed properly and its last changes wait in " + p +
               "; start Calvira or run 'calvira-data init' once to finish them, then try again";
      }
      return f + " was not closed properly and a change it did not finish waits in " + p +
             " to be undone; start Calvira or run 'calvira-data init' once to undo it, then try "
             "again";
    case Problem::kOther:
      break;
  }
  return "cannot open " + f + (detail.empty() ? "" : ": " + detail);
}

Problem FromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return Problem::kPermission;
    case EROFS:
      return Problem::kReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT:
      return Problem::kDiskFull;
    case ELOOP:
      return Problem::kSymlink;
    case ENOMEM:
      return Problem::kNoMemory;
    case EISDIR:
      return Problem::kNotRegular;
    default:
      return Problem::kIoError;
  }
}

Problem FromSqlite(int rc, sqlite3* db) {
  switch (rc & 0xFF) {
    case SQLITE_NOTADB:
      return Problem::kNotCalvira;
    case SQLITE_CORRUPT:
      return Problem::kDamaged;
    case SQLITE_FULL:
      return Problem::kDiskFull;
    case SQLITE_READONLY:
      return Problem::kReadOnly;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return Problem::kPermission;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Problem::kBusy;
    case SQLITE_NOMEM:
      return Problem::kNoMemory;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
      // The system's own error says more: a full disk while SQLite grows its files comes as an
      // I/O error, a file it may not open as "cannot open".
      const int error = db != nullptr ? sqlite3_system_errno(db) : 0;
      if (error != 0) return FromErrno(error);
      return (rc & 0xFF) == SQLITE_IOERR ? Problem::kIoError : Problem::kOther;
    }
    default:
      return Problem::kOther;
  }
}

// SQLite's memory, wiped when freed. Records pass through its pages, cell buffers and values,
// and a password (or a note) must not outlive them in freed memory. Each block carries its size
// in front of it, as SQLite's own allocator does.
constexpr size_t kSizeHeader = 8;

void* WipingMalloc(int bytes) {
  if (bytes <= 0) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(bytes) + kSizeHeader));
  if (block == nullptr) return nullptr;
  const int64_t size = bytes;
  std::memcpy(block, &size, sizeof size);
  return block + kSizeHeader;
}

int WipingSize(void* memory) {
  if (memory == nullptr) return 0;
  int64_t size = 0;
  std::memcpy(&size, static_cast<unsigned char*>(memory) - kSizeHeader, sizeof size);
  return static_cast<int>(size);
}

void WipingFree(void* memory) {
  if (memory == nullptr) return;
  explicit_bzero(memory, static_cast<size_t>(WipingSize(memory)));
  std::free(static_cast<unsigned char*>(memory) - kSizeHeader);
}

void* WipingRealloc(void* memory, int bytes) {
  void* grown = WipingMalloc(bytes);
  if (grown == nullptr) return nullptr;
  std::memcpy(grown, memory, static_cast<size_t>(std::min(bytes, WipingSize(memory))));
  WipingFree(memory);
  return grown;
}

int WipingRoundup(int bytes) {
  return (bytes + 7) & ~7;
}

int WipingInit(void*) {
  return SQLITE_OK;
}

void WipingShutdown(void*) {}

// Before main, so before any use of SQLite in the process (tests register their VFS later).
[[maybe_unused]] const bool g_wiping_memory = [] {
  static const sqlite3_mem_methods methods = {WipingMalloc,  WipingFree, WipingRealloc,  WipingSize,
                                              WipingRoundup, WipingInit, WipingShutdown, nullptr};
  return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}();

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The file name as an SQLite URI, which may carry query parameters.
std::string UriOf(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(file, ec);
  if (ec) full = file;
  const std::string path = full.string();
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '_' || c == '-' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

// What a look at the store file and its journal files, without SQLite, found.
struct Survey {
  bool immutable = false;  // read-only, and no journal to take into account
};

// Whether the rollback journal is one the next writer plays back (its header begins with
// SQLite's journal magic) and was left by the transaction that first filled an empty file (the
// page count before it, at 16, is 0). Undoing that one leaves an empty file, whatever part of
// the transaction reached the store file.
// An encrypted store has no header in the clear: whole pages, beginning with a random salt. A
// file of text, or of one byte repeated, is something else.
bool EncryptedHeader(const unsigned char* header, ssize_t got, off_t size) {
  const bool sqlite_header = got >= 16 && std::memcmp(header, "SQLite format 3", 16) == 0;
  const bool salted = got >= 16 && std::any_of(header, header + 16, [](unsigned char c) {
                        return c < 0x20 || c > 0x7E;
                      });
  return !sqlite_header && salted && size >= 4096 && size % 1024 == 0;
}

bool UndoesTheFirstTransaction(const std::filesystem::path& journal) {
  static constexpr unsigned char kMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
  // Whatever stands in the way of reading it is reported when the journal files are looked at.
  const int fd = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st {};
  unsigned char header[28] = {};
  ssize_t got = 0;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    while ((got = ::pread(fd, header, sizeof header, 0)) < 0 && errno == EINTR) {
    }
  }
  ::close(fd);
  return got == static_cast<ssize_t>(sizeof header) &&
         std::memcmp(header, kMagic, sizeof kMagic) == 0 && BigEndian32(header + 16) == 0;
}

// Looks at the store and its journal files before SQLite opens them: what they are, whether we
// may use them as we mean to, and whose the store is, from its header. Nothing is written, so a
// foreign or damaged file, or one we may not use, is refused untouched.
bool SurveyFiles(const std::filesystem::path& file, bool read_only, bool keyed, Survey* survey,
                 std::string* error) {
  const auto fail = [&](Problem problem, const std::filesystem::path& path,
                        const std::string& detail = {}) {
    *error = Describe(problem, path, file, detail);
    return false;
  };
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0) {
    if (errno != ENOENT) return fail(FromErrno(errno), file);
    if (read_only) return fail(Problem::kNoStore, file);
    // Made by us, so that it is private from its first byte; SQLite gives its journal files
    // the same mode.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return fail(FromErrno(errno), file);
    if (fd >= 0) ::close(fd);
    if (::lstat(file.c_str(), &st) != 0) return fail(FromErrno(errno), file);
  }
  if (S_ISLNK(st.st_mode)) return fail(Problem::kSymlink, file);
  if (!S_ISREG(st.st_mode)) return fail(Problem::kNotRegular, file);

  const int fd = ::open(file.c_str(), (read_only ? O_RDONLY : O_RDWR) | O_NOFOLLOW | O_NONBLOCK |
                                          O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int open_error = errno;
    if (!read_only && (open_error == EACCES || open_error == EPERM || open_error == EROFS)) {
      const int readable =
          ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
      if (readable >= 0) {
        ::close(readable);
        return fail(open_error == EROFS ? Problem::kReadOnlyFileSystem : Problem::kReadOnlyFile,
                    file);
      }
    }
    return fail(FromErrno(open_error), file);
  }
  unsigned char header[100] = {};
  ssize_t got = 0;
  while ((got = ::pread(fd, header, sizeof header, 0)) < 0 && errno == EINTR) {
  }
  const int read_error = errno;
  const bool stat_ok = ::fstat(fd, &st) == 0;
  ::close(fd);
  if (got < 0 || !stat_ok) return fail(FromErrno(read_error), file);
  const bool fresh = st.st_size == 0;
  if (fresh && read_only) return fail(Problem::kNoStore, file);

  // The header of an SQLite file: its magic, then at 60 the user version (our format) and at 68
  // the application id, both written with the schema in the store's first transaction. A first
  // start cut short in that transaction leaves whatever part of it reached the file beside the
  // journal that undoes it all; the writer lets SQLite undo it and then sees an empty store.
  const bool unfinished_setup = !read_only && UndoesTheFirstTransaction(file.string() + "-journal");
  if (!fresh && !keyed && EncryptedHeader(header, got, st.st_size)) {
    return fail(Problem::kEncrypted, file);
  }
  if (!fresh && !unfinished_setup && !keyed) {
    if (got < static_cast<ssize_t>(sizeof header) ||
        std::memcmp(header, "SQLite format 3", 16) != 0 ||
        BigEndian32(header + 68) != static_cast<uint32_t>(kApplicationId)) {
      return fail(Problem::kNotCalvira, file);
    }
    if (BigEndian32(header + 60) > static_cast<uint32_t>(kSchemaVersion)) {
      return fail(Problem::kNewer, file, std::to_string(BigEndian32(header + 60)));
    }
  }

  // A writer makes the journal files beside the store.
  const std::filesystem::path dir = file.parent_path();
  if (!read_only &&
      ::faccessat(AT_FDCWD, dir.empty() ? "." : dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    return fail(errno == EROFS ? Problem::kReadOnlyFileSystem : Problem::kReadOnlyDirectory, dir);
  }
  bool journal_exists[3] = {};
  off_t journal_size[3] = {};
  const char* const suffixes[3] = {"-wal", "-shm", "-journal"};
  for (int i = 0; i < 3; ++i) {
    const std::filesystem::path journal = file.string() + suffixes[i];
    if (::lstat(journal.c_str(), &st) != 0) {
      if (errno != ENOENT) return fail(FromErrno(errno), journal);
      continue;
    }
    if (S_ISLNK(st.st_mode)) return fail(Problem::kSymlink, journal);
    if (!S_ISREG(st.st_mode)) return fail(Problem::kNotRegular, journal);
    // One left by another user (say, by a tool run as root) would stop every later write.
    const int jfd = ::open(journal.c_str(), (read_only ? O_RDONLY : O_RDWR) | O_NOFOLLOW |
                                                O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (jfd < 0) return fail(FromErrno(errno), journal);
    ::close(jfd);
    journal_exists[i] = true;
    journal_size[i] = st.st_size;
  }
  if (read_only) {
    const bool wal = journal_exists[0], shm = journal_exists[1];
    // Without a write-ahead log, or with an empty one that nobody has open (a program with the
    // store open keeps the -shm file), everything is in the store file itself: it is read as it
    // stands, with no lock and no journal file made. Otherwise the open uses the files that are
    // there and makes none.
    if (journal_size[2] > 0) return fail(Problem::kUnfinished, file.string() + suffixes[2]);
    if (wal && journal_size[0] > 0 && !shm) {
      return fail(Problem::kUnfinished, file.string() + suffixes[0]);
    }
    survey->immutable = !wal || (journal_size[0] == 0 && !shm);
  }
  return true;
}

}  // namespace

StoredProp::~StoredProp() {
  WipeText(text);
}

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
                                               const char* vfs, std::string* error,
                                               std::string_view key, bool* wrong_key) {
  Survey survey;
  if (!SurveyFiles(file, read_only, !key.empty(), &survey, error)) return nullptr;

  // A reader never writes the -shm file. Beside a program that has the store open it reads that
  // program's index there; without one, where the file may be a stale or short one (a writer
  // that stopped on a full disk leaves it so), SQLite reads the write-ahead log itself into
  // memory. Either way reading changes nothing and works on a full disk, when a copy is wanted.
  std::string name = file.string();
  if (survey.immutable) {
    name = UriOf(file) + "?mode=ro&immutable=1";
  } else if (read_only) {
    name = UriOf(file) + "?mode=ro&readonly_shm=1";
  }
  sqlite3* raw = nullptr;
  const int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                    SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOFOLLOW |
                    (read_only ? SQLITE_OPEN_URI : 0);
  int rc = sqlite3_open_v2(name.c_str(), &raw, flags, vfs);
  std::unique_ptr<SqliteStore> store(new SqliteStore(raw));
  const auto fail = [&](int code) {
    const Problem problem = FromSqlite(code, raw);
    *error = Describe(problem, file, file, raw != nullptr ? sqlite3_errmsg(raw) : "");
    return nullptr;
  };
  if (rc != SQLITE_OK) return fail(rc);
  // A wrong password is ours to report, in our words, not SQLCipher's on standard error.
  // SQLCipher 4.6 logs its errors whatever the level, until no source may log.
  sqlite3_exec(raw, "PRAGMA cipher_log_level = NONE; PRAGMA cipher_log_source = NONE", nullptr,
               nullptr, nullptr);
  if (!key.empty()) {
    // The cipher's keys and pages are wiped from memory when SQLCipher frees them.
    sqlite3_exec(raw, "PRAGMA cipher_memory_security = ON", nullptr, nullptr, nullptr);
    rc = sqlite3_key_v2(raw, "main", key.data(), static_cast<int>(key.size()));
    if (rc != SQLITE_OK) return fail(rc);
    store->keyed_ = true;
  }
  // SQLite quietly opens for reading what it may not write; a writer must know now.
  if (!read_only && sqlite3_db_readonly(raw, "main") == 1) {
    *error = Describe(Problem::kReadOnlyFile, file, file);
    return nullptr;
  }
  sqlite3_busy_timeout(raw, 5000);

  // What is in the file? The survey has read its header; this is SQLite's own view, which
  // counts what the write-ahead log holds too, after the writer has undone what a rollback
  // journal says was left unfinished.
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
    if (!key.empty() && (rc & 0xFF) == SQLITE_NOTADB) {
      if (wrong_key != nullptr) *wrong_key = true;
      *error = Describe(Problem::kWrongPassword, file, file);
      return nullptr;
    }
    if (rc != SQLITE_ROW) return fail(rc);
    tables = sqlite3_column_int(stmt, 0);
    version = sqlite3_column_int(stmt, 1);
    app_id = sqlite3_column_int(stmt, 2);
  }
  // Nothing at all: a new file, or a first start that was cut short and has just been undone.
  const bool empty = tables == 0 && version == 0 && app_id == 0;
  if (!empty && app_id != kApplicationId) {
    *error = Describe(Problem::kNotCalvira, file, file);
    return nullptr;
  }
  if (version > kSchemaVersion) {
    *error = Describe(Problem::kNewer, file, file, std::to_string(version));
    return nullptr;
  }
  if (tables == 0) {
    if (!empty) {
      *error = Describe(Problem::kDamaged, file, file, "no tables");
      return nullptr;
    }
    if (read_only) {
      *error = Describe(Problem::kNoStore, file, file);
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
      store->Exec("ROLLBACK");
      return fail(rc);
    }
  }
  if (!read_only) {
    // WAL with full syncs: a write is on disk when its commit returns, and a reader never sees
    // half a write.
    // And what a write replaces is overwritten in the file, not left in a page's free space:
    // a record may hold a password or a note.
    if ((rc = store->Exec("PRAGMA journal_mode = WAL")) != SQLITE_OK ||
        (rc = store->Exec("PRAGMA synchronous = FULL")) != SQLITE_OK ||
        (rc = store->Exec("PRAGMA secure_delete = ON")) != SQLITE_OK) {
      return fail(rc);
    }
  }
  if ((rc = store->Prepare()) != SQLITE_OK) return fail(rc);
  return store;
}

std::string SqliteStore::Explain(int rc) const {
  const std::string file = sqlite3_db_filename(db_, "main") ? sqlite3_db_filename(db_, "main") : "";
  return Describe(FromSqlite(rc, db_), file, file, sqlite3_errmsg(db_));
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
namespace {

// Copies every page of `from` into `to` as one step: the destination's own transaction makes
// it all or nothing.
int CopyPages(sqlite3* to, sqlite3* from) {
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (backup == nullptr) return sqlite3_extended_errcode(to);
  const int step = sqlite3_backup_step(backup, -1);
  const int rc = sqlite3_backup_finish(backup);
  return step != SQLITE_DONE ? step : rc;
}

}  // namespace

int SqliteStore::CopyTo(const std::filesystem::path& to, std::string_view key) {
  sqlite3* copy = nullptr;
  int rc =
      sqlite3_open_v2(to.c_str(), &copy,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW, nullptr);
  // Keyed before its first page is written: a copy of an encrypted store is never plain.
  if (rc == SQLITE_OK && !key.empty()) {
    sqlite3_exec(copy, "PRAGMA cipher_memory_security = ON", nullptr, nullptr, nullptr);
    rc = sqlite3_key_v2(copy, "main", key.data(), static_cast<int>(key.size()));
  }
  if (rc == SQLITE_OK) rc = CopyPages(copy, db_);
  // The copy is one file, whatever journal the store keeps.
  if (rc == SQLITE_OK)
    rc = sqlite3_exec(copy, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
  if (const int closed = sqlite3_close(copy); rc == SQLITE_OK) rc = closed;
  return rc;
}

int SqliteStore::ReplaceRowsFrom(SqliteStore& source, bool* source_failed) {
  // The tables in the order their rows may be written; sqlite_sequence keeps the object ids
  // that the source has given out, so that none of them is given again.
  static constexpr const char* kCopies[][2] = {
      {"SELECT oid, name, type_id, sort1, sort2 FROM databases",
       "INSERT INTO databases(oid, name, type_id, sort1, sort2) VALUES(?, ?, ?, ?, ?)"},
      {"SELECT oid, db FROM records", "INSERT INTO records(oid, db) VALUES(?, ?)"},
      {"SELECT oid, pos, pid, value FROM props",
       "INSERT INTO props(oid, pos, pid, value) VALUES(?, ?, ?, ?)"},
      {"SELECT name, seq FROM sqlite_sequence",
       "INSERT INTO sqlite_sequence(name, seq) VALUES(?, ?)"},
  };
  *source_failed = false;
  int rc = Exec("DELETE FROM props; DELETE FROM records; DELETE FROM databases");
  // One moment of the source, whatever might write to it meanwhile.
  if (rc == SQLITE_OK && (rc = source.BeginRead()) != SQLITE_OK) *source_failed = true;
  for (const auto& [select, insert] : kCopies) {
    if (rc != SQLITE_OK) break;
    if (std::strstr(select, "sqlite_sequence") != nullptr) {
      // Each insert above has moved the sequence on; the source's own takes its place.
      rc = Exec("DELETE FROM sqlite_sequence");
      if (rc != SQLITE_OK) break;
    }
    sqlite3_stmt* from = nullptr;
    sqlite3_stmt* to = nullptr;
    rc = sqlite3_prepare_v2(source.db_, select, -1, &from, nullptr);
    Statement reading(from);
    *source_failed = rc != SQLITE_OK;
    if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db_, insert, -1, &to, nullptr);
    Statement writing(to);
    while (rc == SQLITE_OK) {
      rc = sqlite3_step(from);
      if (rc != SQLITE_ROW) {
        *source_failed = rc != SQLITE_DONE;
        break;
      }
      for (int i = 0; i < sqlite3_column_count(from); ++i) {
        sqlite3_bind_value(to, i + 1, sqlite3_column_value(from, i));
      }
      rc = sqlite3_step(to);
      rc = rc == SQLITE_DONE ? sqlite3_reset(to) : rc;
    }
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  source.Rollback();
  return rc;
}

int SqliteStore::Checkpoint() {
  return sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
}

int SqliteStore::ExportTo(const std::filesystem::path& to, std::string_view key) {
  int rc = Checkpoint();
  sqlite3_stmt* raw = nullptr;
  if (rc == SQLITE_OK) {
    rc = sqlite3_prepare_v2(db_, "ATTACH DATABASE ?1 AS converted KEY ?2", -1, &raw, nullptr);
  }
  Statement attach(raw);
  if (rc == SQLITE_OK) {
    const std::string name = to.string();
    sqlite3_bind_text(raw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    // An empty text, never NULL: SQLCipher gives a NULL key the main store's key.
    sqlite3_bind_text(raw, 2, key.empty() ? "" : key.data(), static_cast<int>(key.size()),
                      SQLITE_TRANSIENT);
    rc = sqlite3_step(raw) == SQLITE_DONE ? SQLITE_OK : sqlite3_extended_errcode(db_);
  }
  if (rc != SQLITE_OK) return rc;
  // The copy is the store whole: its pages, and the format and owner marks in its header.
  const std::string marks =
      "PRAGMA converted.user_version = " + std::to_string(kSchemaVersion) +
      "; PRAGMA converted.application_id = " + std::to_string(kApplicationId) + ";";
  rc = Exec("SELECT sqlcipher_export('converted')");
  if (rc == SQLITE_OK) rc = Exec(marks.c_str());
  // The export tells what failed inside it as a plain error with the cause's own message.
  for (const int cause : {SQLITE_FULL, SQLITE_IOERR, SQLITE_NOMEM, SQLITE_READONLY}) {
    if (rc == SQLITE_ERROR && std::strcmp(sqlite3_errmsg(db_), sqlite3_errstr(cause)) == 0) {
      rc = cause;
    }
  }
  const int detached = Exec("DETACH DATABASE converted");
  return rc != SQLITE_OK ? rc : detached;
}

bool SqliteStore::LooksEncrypted(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  unsigned char header[16] = {};
  struct stat st {};
  const ssize_t got = ::pread(fd, header, sizeof header, 0);
  const bool stat_ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return stat_ok && EncryptedHeader(header, got, st.st_size);
}

int SqliteStore::IntegrityCheck(std::vector<std::string>* problems) {
  int result = SQLITE_OK;
  for (const char* check : {"PRAGMA integrity_check", "PRAGMA cipher_integrity_check"}) {
    if (!keyed_ && std::strstr(check, "cipher") != nullptr) continue;
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db_, check, -1, &raw, nullptr);
    Statement stmt(raw);
    while (rc == SQLITE_OK && (rc = sqlite3_step(raw)) == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
      if (text != nullptr && std::strcmp(text, "ok") != 0) problems->push_back(text);
      rc = SQLITE_OK;
    }
    // A page that cannot be read stops SQLite's check; SQLCipher's still names every page
    // whose code is wrong.
    if (rc != SQLITE_DONE && result == SQLITE_OK) result = rc;
  }
  return result;
}

int SqliteStore::BeginRead() {
  return Exec("BEGIN DEFERRED");
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

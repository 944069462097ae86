// The object store: named databases of records, each record a short list of typed properties,
// kept in one SQLite file in the data directory. The calls keep the shape of the handheld's
// object-store API; the guarantees are ours:
//
//   - a database has a name of at most 31 characters, a type id and exactly two sort orders;
//   - a handle walks its database in ascending order of the sort property chosen at open
//     (0: the store's own order, oldest record first). A record matches a sort property only
//     when it has a property with exactly that id (number and type); records lacking it come
//     last; ties go by record age; strings compare by UTF-16 code unit, so case-sensitively;
//   - seeks from the beginning by k, from the current record by a signed step, and from the end
//     are O(log n); after the current record is deleted, a seek by +1 reaches the record that
//     followed it and a seek by -1 the one before it;
//   - a write merges: a given property replaces the one with the same property number, whatever
//     either's type, so a record never holds two properties of one number; the others stay, new
//     ones are appended. Every write is durable when the call returns; a write that cannot be
//     made (full disk, I/O error) fails, leaves the record as it was, and says why in
//     GetLastError (ERROR_DISK_FULL for a full disk).
//
// All calls are made from one thread.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace ce {

// Property value types.
inline constexpr WORD CEVT_I2 = 2;
inline constexpr WORD CEVT_I4 = 3;
inline constexpr WORD CEVT_R8 = 5;
inline constexpr WORD CEVT_BOOL = 11;
inline constexpr WORD CEVT_UI2 = 18;
inline constexpr WORD CEVT_UI4 = 19;
inline constexpr WORD CEVT_LPWSTR = 31;

// A property id is the property number in the high 16 bits and the value type in the low 16.
constexpr CEPROPID PropId(WORD number, WORD type) {
  return (static_cast<CEPROPID>(number) << 16) | type;
}
constexpr WORD TypeFromPropId(CEPROPID id) {
  return static_cast<WORD>(id & 0xFFFF);
}
constexpr WORD NumberFromPropId(CEPROPID id) {
  return static_cast<WORD>(id >> 16);
}

union CEVALUNION {
  int16_t iVal;
  uint16_t uiVal;
  int32_t lVal;
  uint32_t ulVal;
  BOOL boolVal;
  double dblVal;
  const char16_t* lpwstr;
};

struct CEPROPVAL {
  CEPROPID propid;
  WORD wLenData;
  WORD wFlags;
  CEVALUNION val;
};

// In CEPROPVAL::wFlags of a write: remove the record's property of this number (the type and
// value given do not matter).
inline constexpr WORD CEDB_PROPDELETE = 0x0002;

inline constexpr int CEDB_MAXDBASENAMELEN = 32;  // including the terminator
inline constexpr int CEDB_MAXSORTORDER = 4;
inline constexpr DWORD CEDB_SORT_DESCENDING = 0x00000001;
inline constexpr DWORD CEDB_SORT_CASEINSENSITIVE = 0x00000002;
inline constexpr DWORD CEDB_SORT_UNKNOWNFIRST = 0x00000004;

struct SORTORDERSPEC {
  CEPROPID propid;
  DWORD dwFlags;  // only 0 is supported: ascending, case-sensitive, unknown last
};

inline constexpr DWORD CEDB_VALIDNAME = 0x0001;
inline constexpr DWORD CEDB_VALIDTYPE = 0x0002;
inline constexpr DWORD CEDB_VALIDSORTSPEC = 0x0004;

struct CEDBASEINFO {
  DWORD dwFlags;
  char16_t szDbaseName[CEDB_MAXDBASENAMELEN];
  DWORD dwDbaseType;
  WORD wNumRecords;
  WORD wNumSortOrder;
  SORTORDERSPEC rgSortSpecs[CEDB_MAXSORTORDER];
};

// Opaque handle of an open database or of a database enumeration.
struct HANDLE__;
using HANDLE = HANDLE__*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});

inline constexpr DWORD CEDB_SEEK_CEOID = 0x00000001;
inline constexpr DWORD CEDB_SEEK_BEGINNING = 0x00000002;
inline constexpr DWORD CEDB_SEEK_END = 0x00000004;
inline constexpr DWORD CEDB_SEEK_CURRENT = 0x00000008;

// Creates a database with the name, type and sort orders of `info` (exactly two sort orders).
// Returns its object id, or 0: ERROR_DUP_NAME when the name exists, ERROR_INVALID_PARAMETER for a
// bad name or sort order, ERROR_DISK_FULL when storage is full.
CEOID CeCreateDatabaseEx(const CEDBASEINFO* info);

// Opens a database by name (or, with a null or empty name, by *oid) for walking in the order of
// `sort` (0 or one of its sort properties). *oid receives the database's id. Returns
// INVALID_HANDLE_VALUE on failure: ERROR_FILE_NOT_FOUND, ERROR_INVALID_PARAMETER (a sort property
// the database was not created with), ERROR_NOT_ENOUGH_MEMORY.
HANDLE CeOpenDatabase(CEOID* oid, const char16_t* name, CEPROPID sort, DWORD flags, HWND notify);

// Moves the handle's current record. CEDB_SEEK_BEGINNING: the record at index `value`;
// CEDB_SEEK_CURRENT: `value` (read as a signed number) records from the current one;
// CEDB_SEEK_END: `value` records back from the last; CEDB_SEEK_CEOID: the record with object id
// `value`. Returns the object id of the new current record and stores its 0-based index in
// *index (if given); 0 when there is no such record, in which case nothing moves.
CEOID CeSeekDatabase(HANDLE db, DWORD seek_type, DWORD value, DWORD* index);

// The properties of one record as the store hands them out; owns the strings the values point at.
class CePropBuffer {
 public:
  CePropBuffer() = default;
  CePropBuffer(const CePropBuffer&) = delete;
  CePropBuffer& operator=(const CePropBuffer&) = delete;
  ~CePropBuffer();  // wipes the strings: a record may hold a password or a note
  std::span<const CEPROPVAL> props() const { return props_; }
  void clear();
  void add(const CEPROPVAL& value);  // copies a string value into the buffer

 private:
  std::vector<CEPROPVAL> props_;
  std::deque<std::u16string> strings_;
};

// Reads every property of the current record into `out`. Returns the record's object id, or 0
// when there is no current record (ERROR_NO_MORE_ITEMS) or the handle is bad.
CEOID CeReadRecordProps(HANDLE db, CePropBuffer& out);

// Writes a new record (oid 0) or merges the properties into record `oid`: each replaces the
// property of its number, or with CEDB_PROPDELETE removes it. Returns the record's object id, or
// 0 on failure with the record unchanged.
CEOID CeWriteRecordProps(HANDLE db, CEOID oid, WORD count, const CEPROPVAL* props);

// Deletes a record of the handle's database.
BOOL CeDeleteRecord(HANDLE db, CEOID oid);

// Deletes a database and all its records.
BOOL CeDeleteDatabase(CEOID oid);

// Enumerates databases in creation order: type 0 gives all of them.
HANDLE CeFindFirstDatabase(DWORD type);
CEOID CeFindNextDatabase(HANDLE enumeration);  // 0 at the end

// Name, type, record count and sort orders of a database.
BOOL CeGetDatabaseInfo(CEOID oid, CEDBASEINFO* info);

// Closes a database handle or an enumeration.
BOOL CloseHandle(HANDLE handle);

// Where the store lives. Without an explicit Mount, the first call mounts the store of the
// default data directory (see data_dir.h), creating it if needed.
namespace objectstore {

struct MountOptions {
  bool read_only = false;     // never create or change anything
  const char* vfs = nullptr;  // SQLite VFS to use (tests inject faults through one)
  std::string_view key;       // the password of an encrypted store
  bool* wrong_key = nullptr;  // set when `key` does not open the store
};

// Opens (and, unless read-only, creates) the store file of the data directory `dir`.
// Returns an empty string on success, otherwise a message that says what went wrong.
std::string Mount(const std::filesystem::path& dir, const MountOptions& options = {});
void Unmount();
bool IsMounted();
// Unmounts, and until a Mount succeeds lets no call mount a store by itself: the encrypted
// store of the data directory `dir` waits for its password, and no other may stand in for it.
void WaitForKey(const std::filesystem::path& dir);
// That directory while its store waits; empty otherwise.
std::filesystem::path KeyAwaitedFor();
// Whether the store of the data directory `dir` is encrypted, told by its file's header alone.
bool IsEncrypted(const std::filesystem::path& dir);
// The same of the store file `file`, wherever it lies (a copy).
bool IsEncryptedFile(const std::filesystem::path& file);
// The real data directory of the mounted store (empty for a file mounted alone or none), and
// whether it was opened with a password.
std::filesystem::path MountedDirectory();
bool MountedEncrypted();
// The SQLite VFS the mounted store was opened with (null: the default).
const char* MountedVfs();
// Mounts the store file `file`, wherever it lies, for reading only: a copy to be checked. An
// encrypted one opens with its password `key`; *wrong_key is set when that does not open it.
std::string MountFile(const std::filesystem::path& file, std::string_view key = {},
                      bool* wrong_key = nullptr);

// Encrypts, re-keys or decrypts the store of the data directory `dir`, which must not be in use:
// from `old_key` (empty: a plain store) to `new_key` (empty: plain). The converted store is
// written beside the old one, synced and renamed over it, so that a crash at any moment leaves
// either the old store or the new one, complete, and no copy of it in the clear. `finish`, when
// given, runs with the converted store mounted before it takes the old one's place, and may
// write to it: what it writes arrives with the new store or not at all; when it says why not,
// nothing is converted. Unmounts the store. An empty string, or why not; the store is then as
// it was, and GetLastError says why when the disk refused (ERROR_DISK_FULL for a full one).
std::string ConvertStore(const std::filesystem::path& dir, std::string_view old_key,
                         std::string_view new_key, const char* vfs = nullptr,
                         const std::function<std::string()>& finish = {});

// Writes a copy of the mounted store, one consistent moment of it, to `file`, whole or not at
// all (an existing file is replaced only once the copy is complete). The copy of an encrypted
// store is encrypted under the same password: `key` must be the store's own (empty for a plain
// store). An empty string or why not.
std::string BackupTo(const std::filesystem::path& file, std::string_view key = {});
// Replaces the records of the mounted store with those of the store file `file` (encrypted
// under `key`, or plain), all in one unit; the mounted store keeps its own encryption. `also`,
// when given, runs inside that unit once the records are in, and may write more through these
// calls (the settings record): when it says why not, nothing is replaced. An empty string or why
// not.
std::string RestoreFrom(const std::filesystem::path& file, std::string_view key = {},
                        const std::function<std::string()>& also = {});
// SQLite's check of the mounted store's file: what is wrong, nothing when all is well. False
// when the check itself could not run.
bool IntegrityProblems(std::vector<std::string>* problems);
std::filesystem::path StoreFile(const std::filesystem::path& dir);

// Groups writes into one all-or-nothing unit: either every write inside it lands, or, when the
// transaction is destroyed without Commit (or the process ends first), none does.
class Transaction {
 public:
  Transaction();
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool Commit();

 private:
  bool active_ = false;
};

// One consistent view of the whole store for a series of reads (an export while the program
// writes): what another process commits meanwhile is seen only once the snapshot ends. Only
// reads belong inside it.
class ReadSnapshot {
 public:
  ReadSnapshot();
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;
  bool ok() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace objectstore
}  // namespace ce

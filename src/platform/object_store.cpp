// The object store's calls. SQLite holds the records; this file keeps, per database, every
// record's properties and its place in each sort order in memory, loaded on first use, so that
// seeks are O(log n) and reads cost no query. A write goes to SQLite first and reaches the
// memory copy only once it is committed; anything unexpected drops the copy, to be read again.
#include "platform/object_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <compare>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <variant>

#include "platform/data_dir.h"
#include "platform/sqlite_store.h"
#include "platform/text.h"

namespace ce {

CePropBuffer::~CePropBuffer() {
  clear();
}

void CePropBuffer::clear() {
  props_.clear();
  for (std::u16string& s : strings_) WipeText(s);
  strings_.clear();
}

void CePropBuffer::add(const CEPROPVAL& value) {
  CEPROPVAL copy = value;
  if (TypeFromPropId(value.propid) == CEVT_LPWSTR) {
    strings_.emplace_back(value.val.lpwstr ? value.val.lpwstr : u"");
    copy.val.lpwstr = strings_.back().c_str();
  }
  props_.push_back(copy);
}

namespace {

using detail::DatabaseRow;
using detail::SqliteStore;
using detail::StoredProp;

bool IsSupportedType(WORD type) {
  switch (type) {
    case CEVT_I2:
    case CEVT_I4:
    case CEVT_R8:
    case CEVT_BOOL:
    case CEVT_UI2:
    case CEVT_UI4:
    case CEVT_LPWSTR:
      return true;
    default:
      return false;
  }
}

// A record's value of one sort property. Records that lack the property sort after all others.
struct Missing {
  bool operator==(const Missing&) const = default;
};
using SortKey = std::variant<int64_t, double, std::u16string, Missing>;

std::weak_ordering CompareKeys(const SortKey& a, const SortKey& b) {
  if (a.index() != b.index()) return a.index() <=> b.index();
  switch (a.index()) {
    case 0:
      return std::get<0>(a) <=> std::get<0>(b);
    case 1:
      // A total order, so that a NaN cannot break the sorted sequence.
      return std::strong_order(std::get<1>(a), std::get<1>(b));
    case 2:
      // Code unit by code unit: case-sensitive, and the same on every machine.
      return std::get<2>(a).compare(std::get<2>(b)) <=> 0;
    default:
      return std::weak_ordering::equivalent;
  }
}

// A record's place in one order: its key, then its age (object ids grow with age).
struct Position {
  SortKey key;
  CEOID oid = 0;
};

bool operator<(const Position& a, const Position& b) {
  const auto c = CompareKeys(a.key, b.key);
  if (c != 0) return c < 0;
  return a.oid < b.oid;
}

SortKey KeyOf(const std::vector<StoredProp>& props, CEPROPID sort) {
  if (sort == 0) return int64_t{0};  // the store's own order: age alone
  for (const StoredProp& p : props) {
    if (p.id != sort) continue;
    switch (TypeFromPropId(p.id)) {
      case CEVT_R8:
        return p.real;
      case CEVT_LPWSTR:
        return p.text;
      default:
        return p.num;
    }
  }
  return Missing{};
}

StoredProp ToStored(const CEPROPVAL& v) {
  StoredProp p;
  p.id = v.propid;
  switch (TypeFromPropId(v.propid)) {
    case CEVT_I2:
      p.num = v.val.iVal;
      break;
    case CEVT_UI2:
      p.num = v.val.uiVal;
      break;
    case CEVT_I4:
      p.num = v.val.lVal;
      break;
    case CEVT_UI4:
      p.num = v.val.ulVal;
      break;
    case CEVT_BOOL:
      p.num = v.val.boolVal;
      break;
    case CEVT_R8:
      p.real = v.val.dblVal;
      break;
    case CEVT_LPWSTR:
      p.text = v.val.lpwstr ? v.val.lpwstr : u"";
      break;
    default:
      break;
  }
  return p;
}

CEPROPVAL ToValue(const StoredProp& p) {
  CEPROPVAL v{};
  v.propid = p.id;
  switch (TypeFromPropId(p.id)) {
    case CEVT_I2:
      v.val.iVal = static_cast<int16_t>(p.num);
      break;
    case CEVT_UI2:
      v.val.uiVal = static_cast<uint16_t>(p.num);
      break;
    case CEVT_I4:
      v.val.lVal = static_cast<int32_t>(p.num);
      break;
    case CEVT_UI4:
      v.val.ulVal = static_cast<uint32_t>(p.num);
      break;
    case CEVT_BOOL:
      v.val.boolVal = static_cast<BOOL>(p.num);
      break;
    case CEVT_R8:
      v.val.dblVal = p.real;
      break;
    case CEVT_LPWSTR:
      v.val.lpwstr = p.text.c_str();
      break;
    default:
      break;
  }
  return v;
}

// One database as held in memory.
struct Database {
  DatabaseRow row;
  bool loaded = false;
  std::unordered_map<CEOID, std::vector<StoredProp>> records;
  // orders[0]: the store's own order; orders[1], orders[2]: the two sort properties.
  std::vector<Position> orders[3];

  CEPROPID SortOf(int order) const { return order == 0 ? 0 : row.sort[order - 1]; }

  void Place(CEOID oid, const std::vector<StoredProp>& props) {
    for (int i = 0; i < 3; ++i) {
      Position pos{KeyOf(props, SortOf(i)), oid};
      auto& order = orders[i];
      order.insert(std::upper_bound(order.begin(), order.end(), pos), std::move(pos));
    }
  }

  void Unplace(CEOID oid, const std::vector<StoredProp>& props) {
    for (int i = 0; i < 3; ++i) Unplace(i, {KeyOf(props, SortOf(i)), oid});
  }

  // A record written over keeps its place in every order whose key it keeps (the same day
  // saved again), so that saving over thousands of records shifts none of the orders.
  void Replace(CEOID oid, const std::vector<StoredProp>& before,
               const std::vector<StoredProp>& after) {
    for (int i = 0; i < 3; ++i) {
      Position was{KeyOf(before, SortOf(i)), oid};
      Position now{KeyOf(after, SortOf(i)), oid};
      if (!(was < now) && !(now < was)) continue;
      Unplace(i, was);
      auto& order = orders[i];
      order.insert(std::upper_bound(order.begin(), order.end(), now), std::move(now));
    }
  }

  void Unplace(int i, const Position& pos) {
    auto& order = orders[i];
    auto it = std::lower_bound(order.begin(), order.end(), pos);
    if (it != order.end() && it->oid == pos.oid) order.erase(it);
  }
};

struct DatabaseHandle {
  CEOID db = 0;
  int order = 0;  // index into Database::orders
  // The current record, and where it stood: when the record is deleted, the place still tells
  // which records came before and after it.
  bool has_current = false;
  Position current;
};

struct EnumerationHandle {
  std::vector<CEOID> oids;
  size_t next = 0;
};

struct Store {
  std::unique_ptr<SqliteStore> sql;
  std::map<CEOID, Database> databases;  // by oid, so in creation order
  std::unordered_map<uintptr_t, std::variant<DatabaseHandle, EnumerationHandle>> handles;
  uintptr_t next_handle = 1;
  int64_t data_version = 0;
  int transaction_depth = 0;
  bool transaction_failed = false;
  std::filesystem::path dir;  // the real data directory; empty for a file mounted alone
  bool encrypted = false;
  const char* vfs = nullptr;
};

std::unique_ptr<Store>& CurrentStore() {
  static std::unique_ptr<Store> store;
  return store;
}

// The data directory whose encrypted store waits for its password: until then no call may
// mount another store.
std::filesystem::path& WaitingDirectory() {
  static std::filesystem::path dir;
  return dir;
}

// Reads the list of databases again and forgets every loaded record.
bool Reload(Store& store, int* result = nullptr) {
  std::vector<DatabaseRow> rows;
  const int rc = store.sql->LoadDatabases(rows);
  if (result != nullptr) *result = rc;
  if (rc != 0) {
    SetLastError(detail::ErrorFromSqlite(rc));
    return false;
  }
  store.databases.clear();
  for (DatabaseRow& row : rows) {
    const CEOID oid = row.oid;
    store.databases[oid].row = std::move(row);
  }
  return true;
}

// The mounted store, mounting the default data directory on first use. Checks whether another
// process changed the file since we last looked (as calvira-data may), and if so reloads.
Store* GetStore(bool check_outside_changes) {
  auto& store = CurrentStore();
  if (!store &&
      (!WaitingDirectory().empty() || !objectstore::Mount(DefaultDataDirectory()).empty())) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  if (check_outside_changes && store->transaction_depth == 0) {
    int64_t version = 0;
    if (store->sql->DataVersion(&version) == 0 && version != store->data_version) {
      store->data_version = version;
      if (!Reload(*store)) return nullptr;
    }
  }
  return store.get();
}

Database* LoadedDatabase(Store& store, CEOID oid) {
  auto it = store.databases.find(oid);
  if (it == store.databases.end()) return nullptr;
  Database& db = it->second;
  if (!db.loaded) {
    db.records.clear();
    for (auto& order : db.orders) order.clear();
    const int rc = store.sql->LoadRecords(oid, [&db](CEOID rec, std::vector<StoredProp>&& props) {
      auto& slot = db.records[rec];
      slot = std::move(props);
      for (int i = 0; i < 3; ++i) db.orders[i].push_back({KeyOf(slot, db.SortOf(i)), rec});
    });
    if (rc != 0) {
      SetLastError(detail::ErrorFromSqlite(rc));
      db.records.clear();
      for (auto& order : db.orders) order.clear();
      return nullptr;
    }
    for (auto& order : db.orders) std::sort(order.begin(), order.end());
    db.loaded = true;
  }
  return &db;
}

template <typename T>
T* FindHandle(Store* store, HANDLE handle) {
  if (!store) return nullptr;
  auto it = store->handles.find(reinterpret_cast<uintptr_t>(handle));
  if (it == store->handles.end()) return nullptr;
  return std::get_if<T>(&it->second);
}

// A failed write may have left SQLite's view and ours apart in ways we cannot see from here
// (a commit that reached the disk but reported an error); read everything again next time.
void ForgetLoadedRecords(Store& store) {
  for (auto& [oid, db] : store.databases) db.loaded = false;
}

// The handle's database, with its records in memory, or null (last error set).
Database* HandleDatabase(Store* store, const DatabaseHandle* h) {
  if (!store || !h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  Database* db = LoadedDatabase(*store, h->db);
  if (!db) SetLastError(ERROR_INVALID_HANDLE);
  return db;
}

// Where the current record stands now: its key may have changed since it became current.
void RefreshCurrent(const Database& db, DatabaseHandle& h) {
  if (!h.has_current) return;
  auto it = db.records.find(h.current.oid);
  if (it != db.records.end()) h.current.key = KeyOf(it->second, db.SortOf(h.order));
}

}  // namespace

CEOID CeCreateDatabaseEx(const CEDBASEINFO* info) {
  Store* store = GetStore(true);
  if (!store) return 0;
  if (!info || !(info->dwFlags & CEDB_VALIDNAME)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string name(
      info->szDbaseName,
      std::find(info->szDbaseName, info->szDbaseName + CEDB_MAXDBASENAMELEN, u'\0'));
  bool valid = !name.empty() && name.size() < CEDB_MAXDBASENAMELEN;
  valid = valid && (info->dwFlags & CEDB_VALIDSORTSPEC) && info->wNumSortOrder == 2;
  for (int i = 0; valid && i < 2; ++i) {
    valid = info->rgSortSpecs[i].dwFlags == 0 &&
            IsSupportedType(TypeFromPropId(info->rgSortSpecs[i].propid));
  }
  if (!valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (const auto& [oid, db] : store->databases) {
    if (db.row.name == name) {
      SetLastError(ERROR_DUP_NAME);
      return 0;
    }
  }
  DatabaseRow row;
  row.name = name;
  row.type_id = (info->dwFlags & CEDB_VALIDTYPE) ? info->dwDbaseType : 0;
  row.sort[0] = info->rgSortSpecs[0].propid;
  row.sort[1] = info->rgSortSpecs[1].propid;
  const int rc = store->sql->InsertDatabase(row);
  if (rc != 0) {
    SetLastError(detail::ErrorFromSqlite(rc));
    ForgetLoadedRecords(*store);
    Reload(*store);
    return 0;
  }
  Database& db = store->databases[row.oid];
  db.row = row;
  db.loaded = true;
  return row.oid;
}

HANDLE CeOpenDatabase(CEOID* oid, const char16_t* name, CEPROPID sort, DWORD /*flags*/,
                      HWND /*notify*/) {
  Store* store = GetStore(true);
  if (!store) return INVALID_HANDLE_VALUE;
  Database* found = nullptr;
  if (name && *name) {
    for (auto& [id, db] : store->databases) {
      if (db.row.name == name) found = &db;
    }
  } else if (oid) {
    auto it = store->databases.find(*oid);
    if (it != store->databases.end()) found = &it->second;
  }
  if (!found) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // A database walks only in the orders it was created with.
  int order = -1;
  if (sort == 0) {
    order = 0;
  } else if (sort == found->row.sort[0]) {
    order = 1;
  } else if (sort == found->row.sort[1]) {
    order = 2;
  }
  if (order < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  Database* db = LoadedDatabase(*store, found->row.oid);
  if (!db) return INVALID_HANDLE_VALUE;
  DatabaseHandle h;
  h.db = db->row.oid;
  h.order = order;
  // A freshly opened handle stands on the first record.
  if (!db->orders[order].empty()) {
    h.has_current = true;
    h.current = db->orders[order].front();
  }
  if (oid) *oid = db->row.oid;
  const uintptr_t id = store->next_handle++;
  store->handles.emplace(id, std::move(h));
  return reinterpret_cast<HANDLE>(id);
}

CEOID CeSeekDatabase(HANDLE handle, DWORD seek_type, DWORD value, DWORD* index) {
  Store* store = GetStore(false);
  DatabaseHandle* h = FindHandle<DatabaseHandle>(store, handle);
  Database* db = HandleDatabase(store, h);
  if (!db) return 0;
  RefreshCurrent(*db, *h);
  const auto& order = db->orders[h->order];
  const auto n = static_cast<int64_t>(order.size());

  // `at` is where the current record stands, or would stand if it was deleted.
  int64_t at = -1;
  bool current_exists = false;
  if (h->has_current) {
    at = std::lower_bound(order.begin(), order.end(), h->current) - order.begin();
    current_exists = at < n && order[static_cast<size_t>(at)].oid == h->current.oid;
  }

  int64_t target = -1;
  switch (seek_type) {
    case CEDB_SEEK_BEGINNING:
      target = value;
      break;
    case CEDB_SEEK_END:
      target = n - 1 - static_cast<int64_t>(value);
      break;
    case CEDB_SEEK_CURRENT: {
      const auto step = static_cast<int32_t>(value);
      if (!h->has_current) {
        target = step > 0 ? step - 1 : -1;  // before the first record
      } else if (current_exists) {
        target = at + step;
      } else if (step > 0) {
        target = at + step - 1;  // `at` already is the record that followed the deleted one
      } else if (step < 0) {
        target = at + step;
      }
      break;
    }
    case CEDB_SEEK_CEOID: {
      auto it = db->records.find(value);
      if (it != db->records.end()) {
        const Position pos{KeyOf(it->second, db->SortOf(h->order)), value};
        target = std::lower_bound(order.begin(), order.end(), pos) - order.begin();
      }
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
  if (target < 0 || target >= n) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  h->has_current = true;
  h->current = order[static_cast<size_t>(target)];
  if (index) *index = static_cast<DWORD>(target);
  return h->current.oid;
}

CEOID CeReadRecordProps(HANDLE handle, CePropBuffer& out) {
  out.clear();
  Store* store = GetStore(false);
  DatabaseHandle* h = FindHandle<DatabaseHandle>(store, handle);
  Database* db = HandleDatabase(store, h);
  if (!db) return 0;
  auto it = h->has_current ? db->records.find(h->current.oid) : db->records.end();
  if (it == db->records.end()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  for (const StoredProp& p : it->second) out.add(ToValue(p));
  return it->first;
}

CEOID CeWriteRecordProps(HANDLE handle, CEOID oid, WORD count, const CEPROPVAL* props) {
  Store* store = GetStore(true);
  DatabaseHandle* h = FindHandle<DatabaseHandle>(store, handle);
  Database* db = HandleDatabase(store, h);
  if (!db) return 0;
  if (count > 0 && !props) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (WORD i = 0; i < count; ++i) {
    const bool deletes = (props[i].wFlags & CEDB_PROPDELETE) != 0;
    if (!deletes && !IsSupportedType(TypeFromPropId(props[i].propid))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  }
  std::vector<StoredProp> merged;
  if (oid != 0) {
    auto it = db->records.find(oid);
    if (it == db->records.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    merged = it->second;
  }
  for (WORD i = 0; i < count; ++i) {
    // By number, not by id: a screen that reads a BOOL back as I2 and writes it again must
    // replace the property, not add a twin of it beside the original.
    const WORD number = NumberFromPropId(props[i].propid);
    const auto numbered = [number](const StoredProp& q) {
      return NumberFromPropId(q.id) == number;
    };
    if (props[i].wFlags & CEDB_PROPDELETE) {
      std::erase_if(merged, numbered);
      continue;
    }
    const auto same = std::find_if(merged.begin(), merged.end(), numbered);
    if (same == merged.end()) {
      merged.push_back(ToStored(props[i]));
      continue;
    }
    *same = ToStored(props[i]);
    // A record written before numbers were kept unique may hold twins after the first; the write
    // settles them.
    merged.erase(std::remove_if(same + 1, merged.end(), numbered), merged.end());
  }

  CEOID written = 0;
  const int rc = store->sql->WriteRecord(db->row.oid, oid, merged, &written);
  if (rc != 0) {
    SetLastError(detail::ErrorFromSqlite(rc));
    ForgetLoadedRecords(*store);
    return 0;
  }
  if (oid != 0 && written == oid) {
    db->Replace(oid, db->records[oid], merged);
  } else {
    if (oid != 0) db->Unplace(oid, db->records[oid]);
    db->Place(written, merged);
  }
  db->records[written] = std::move(merged);
  return written;
}

BOOL CeDeleteRecord(HANDLE handle, CEOID oid) {
  Store* store = GetStore(true);
  DatabaseHandle* h = FindHandle<DatabaseHandle>(store, handle);
  Database* db = HandleDatabase(store, h);
  if (!db) return FALSE;
  auto it = db->records.find(oid);
  if (it == db->records.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int rc = store->sql->DeleteRecord(oid);
  if (rc != 0) {
    SetLastError(detail::ErrorFromSqlite(rc));
    ForgetLoadedRecords(*store);
    return FALSE;
  }
  // Handles standing on the record keep its place, so that their next step finds its
  // neighbours.
  for (auto& [id, any] : store->handles) {
    if (auto* other = std::get_if<DatabaseHandle>(&any);
        other && other->db == db->row.oid && other->has_current && other->current.oid == oid) {
      RefreshCurrent(*db, *other);
    }
  }
  db->Unplace(oid, it->second);
  db->records.erase(it);
  return TRUE;
}

BOOL CeDeleteDatabase(CEOID oid) {
  Store* store = GetStore(true);
  if (!store) return FALSE;
  if (!store->databases.count(oid)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  for (auto& [id, any] : store->handles) {
    if (auto* h = std::get_if<DatabaseHandle>(&any); h && h->db == oid) {
      SetLastError(ERROR_ACCESS_DENIED);  // still open
      return FALSE;
    }
  }
  const int rc = store->sql->DeleteDatabase(oid);
  if (rc != 0) {
    SetLastError(detail::ErrorFromSqlite(rc));
    ForgetLoadedRecords(*store);
    return FALSE;
  }
  store->databases.erase(oid);
  return TRUE;
}

HANDLE CeFindFirstDatabase(DWORD type) {
  Store* store = GetStore(true);
  if (!store) return INVALID_HANDLE_VALUE;
  EnumerationHandle e;
  for (const auto& [oid, db] : store->databases) {
    if (type == 0 || db.row.type_id == type) e.oids.push_back(oid);
  }
  const uintptr_t id = store->next_handle++;
  store->handles.emplace(id, std::move(e));
  return reinterpret_cast<HANDLE>(id);
}

CEOID CeFindNextDatabase(HANDLE handle) {
  auto* e = FindHandle<EnumerationHandle>(GetStore(false), handle);
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (e->next >= e->oids.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  return e->oids[e->next++];
}

BOOL CeGetDatabaseInfo(CEOID oid, CEDBASEINFO* info) {
  Store* store = GetStore(true);
  if (!store || !info) return FALSE;
  Database* db = LoadedDatabase(*store, oid);
  if (!db) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  *info = CEDBASEINFO{};
  info->dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC;
  db->row.name.copy(info->szDbaseName, CEDB_MAXDBASENAMELEN - 1);
  info->dwDbaseType = db->row.type_id;
  info->wNumRecords = static_cast<WORD>(std::min<size_t>(db->records.size(), 0xFFFF));
  info->wNumSortOrder = 2;
  info->rgSortSpecs[0].propid = db->row.sort[0];
  info->rgSortSpecs[1].propid = db->row.sort[1];
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  Store* store = CurrentStore().get();
  if (!store || !store->handles.erase(reinterpret_cast<uintptr_t>(handle))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace objectstore {

std::filesystem::path StoreFile(const std::filesystem::path& dir) {
  return dir / "objectstore.sqlite3";
}

namespace {

// Where a conversion writes the new store; one left by a conversion cut short is removed.
std::filesystem::path ConvertingFile(const std::filesystem::path& real_dir) {
  return real_dir / ".objectstore.sqlite3.converting";
}

void RemoveConverting(const std::filesystem::path& real_dir) {
  const std::string converting = ConvertingFile(real_dir).string();
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    ::unlink((converting + suffix).c_str());
  }
}

std::string Synced(const std::filesystem::path& path, bool directory) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (directory ? O_DIRECTORY : 0));
  const bool ok = fd >= 0 && ::fsync(fd) == 0;
  const std::string why = std::strerror(errno);
  if (!ok) SetLastError(errno == ENOSPC ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
  if (fd >= 0) ::close(fd);
  return ok ? std::string() : "cannot write " + path.string() + " to the disk: " + why;
}

}  // namespace

namespace {

// Opens the store file and makes it the mounted store.
std::string MountStoreFile(const std::filesystem::path& file, bool read_only, const char* vfs,
                           std::string_view key = {}, const std::filesystem::path& dir = {},
                           bool* wrong_key = nullptr) {
  std::string error;
  auto sql = SqliteStore::Open(file, read_only, vfs, &error, key, wrong_key);
  if (!sql) return error;
  auto store = std::make_unique<Store>();
  store->sql = std::move(sql);
  store->dir = dir;
  store->encrypted = !key.empty();
  store->vfs = vfs;
  store->sql->DataVersion(&store->data_version);
  if (int rc = 0; !Reload(*store, &rc)) return store->sql->Explain(rc);
  CurrentStore() = std::move(store);
  return {};
}

}  // namespace

std::string Mount(const std::filesystem::path& dir, const MountOptions& options) {
  Unmount();
  // The real directory: SQLite opens the store without following any link, in the path too.
  std::filesystem::path real;
  if (!options.read_only) {
    if (std::string error = EnsureDataDirectory(dir, &real); !error.empty()) return error;
    // What a conversion cut short left: the store beside it is whole, the old one or the new.
    RemoveConverting(real);
  } else {
    // Reading makes nothing, not even the directory; but what is read must be trusted as much.
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(dir, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
      return "no store at " + StoreFile(dir).string() +
             "; start Calvira or run 'calvira-data init' to make one";
    }
    if (std::string error = CheckDataDirectory(dir, &real); !error.empty()) return error;
  }
  std::string error = MountStoreFile(StoreFile(real), options.read_only, options.vfs, options.key,
                                     real, options.wrong_key);
  if (error.empty()) WaitingDirectory().clear();
  return error;
}

void Unmount() {
  CurrentStore().reset();
}

void WaitForKey(const std::filesystem::path& dir) {
  Unmount();
  WaitingDirectory() = dir;
}

std::filesystem::path KeyAwaitedFor() {
  return WaitingDirectory();
}

bool IsEncrypted(const std::filesystem::path& dir) {
  return SqliteStore::LooksEncrypted(StoreFile(dir));
}

bool IsEncryptedFile(const std::filesystem::path& file) {
  return SqliteStore::LooksEncrypted(file);
}

std::filesystem::path MountedDirectory() {
  return CurrentStore() ? CurrentStore()->dir : std::filesystem::path();
}

const char* MountedVfs() {
  return CurrentStore() ? CurrentStore()->vfs : nullptr;
}

bool MountedEncrypted() {
  return CurrentStore() && CurrentStore()->encrypted;
}

std::string ConvertStore(const std::filesystem::path& dir, std::string_view old_key,
                         std::string_view new_key, const char* vfs,
                         const std::function<std::string()>& finish) {
  Unmount();
  std::filesystem::path real;
  if (std::string error = CheckDataDirectory(dir, &real); !error.empty()) return error;
  const std::filesystem::path file = StoreFile(real);
  const std::filesystem::path converting = ConvertingFile(real);
  RemoveConverting(real);
  const int fd =
      ::open(converting.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return "cannot write " + converting.string() + ": " + std::strerror(errno);
  ::close(fd);
  std::string error;
  {
    auto sql = SqliteStore::Open(file, false, vfs, &error, old_key);
    if (sql) {
      if (const int rc = sql->ExportTo(converting, new_key); rc != 0) {
        error = sql->Explain(rc);
        SetLastError(detail::ErrorFromSqlite(rc));
      }
    }
  }
  // What must change with the conversion is written into the converted copy, so that the
  // rename makes both at once.
  if (error.empty() && finish) {
    error = MountStoreFile(converting, false, vfs, new_key);
    if (error.empty()) error = finish();
    // Into the copy itself: a log left beside it would not go along with the rename.
    if (const int rc = error.empty() ? CurrentStore()->sql->Checkpoint() : 0; rc != 0) {
      error = CurrentStore()->sql->Explain(rc);
      SetLastError(detail::ErrorFromSqlite(rc));
    }
    Unmount();
  }
  if (error.empty()) error = Synced(converting, false);
  if (error.empty() && std::rename(converting.c_str(), file.c_str()) != 0) {
    error = "cannot replace " + file.string() + ": " + std::strerror(errno);
  }
  if (!error.empty()) {
    RemoveConverting(real);
    return error;
  }
  // The old store's log was moved into it before the copy and is gone with it; an index left
  // beside the new file must not be taken for the new one's.
  for (const char* suffix : {"-wal", "-shm"}) ::unlink((file.string() + suffix).c_str());
  return Synced(real, true);
}

std::string MountFile(const std::filesystem::path& file, std::string_view key, bool* wrong_key) {
  Unmount();
  return MountStoreFile(file, true, nullptr, key, {}, wrong_key);
}

std::string BackupTo(const std::filesystem::path& file, std::string_view key) {
  Store* store = GetStore(false);
  if (!store) return "no store is open";
  if (store->encrypted == key.empty()) return "a copy is made under the store's own password";
  // Made here, private to the user (SQLite would take the umask's mode), and renamed over the
  // target only once complete.
  const std::filesystem::path partial = file.string() + ".partial";
  ::unlink(partial.c_str());
  const int fd =
      ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return "cannot write " + partial.string() + ": " + std::strerror(errno);
  ::close(fd);
  std::string error;
  if (const int rc = store->sql->CopyTo(partial, key); rc != 0) {
    error = "cannot write the copy " + file.string() + ": " + store->sql->Explain(rc);
  } else if (std::rename(partial.c_str(), file.c_str()) != 0) {
    error = "cannot write the copy " + file.string() + ": " + std::strerror(errno);
  }
  if (!error.empty()) ::unlink(partial.c_str());
  return error;
}

std::string RestoreFrom(const std::filesystem::path& file, std::string_view key,
                        const std::function<std::string()>& also) {
  Store* store = GetStore(false);
  if (!store) return "no store is open";
  if (store->transaction_depth != 0) return "a restore cannot be part of another unit";
  std::string error;
  auto source = SqliteStore::Open(file, true, nullptr, &error, key);
  if (!source) return error;
  bool source_failed = false;
  int rc = store->sql->Begin();
  if (rc == 0) rc = store->sql->ReplaceRowsFrom(*source, &source_failed);
  if (rc != 0) error = source_failed ? source->Explain(rc) : store->sql->Explain(rc);
  source.reset();
  if (rc == 0 && also) {
    // The records are read as they now stand, inside the unit, for `also` to write through.
    store->transaction_depth = 1;
    store->transaction_failed = false;
    error = Reload(*store) ? also() : "cannot read the restored store";
    if (error.empty() && store->transaction_failed) error = "the store refused a write";
    store->transaction_depth = 0;
  }
  if (rc == 0 && error.empty() && (rc = store->sql->Commit()) != 0) {
    error = store->sql->Explain(rc);
  }
  if (!error.empty()) store->sql->Rollback();
  // Whatever happened, what the store holds now is read again.
  store->sql->DataVersion(&store->data_version);
  ForgetLoadedRecords(*store);
  Reload(*store);
  return error;
}

bool IntegrityProblems(std::vector<std::string>* problems) {
  Store* store = GetStore(false);
  return store != nullptr && store->sql->IntegrityCheck(problems) == 0;
}

bool IsMounted() {
  return CurrentStore() != nullptr;
}

Transaction::Transaction() {
  Store* store = GetStore(true);
  if (!store) return;
  if (store->transaction_depth == 0) {
    if (store->sql->Begin() != 0) return;
    store->transaction_failed = false;
  }
  ++store->transaction_depth;
  active_ = true;
}

Transaction::~Transaction() {
  if (!active_) return;
  Store* store = CurrentStore().get();
  if (!store) return;
  store->transaction_failed = true;  // destroyed without Commit
  if (--store->transaction_depth == 0) {
    store->sql->Rollback();
    ForgetLoadedRecords(*store);
    Reload(*store);
  }
}

bool Transaction::Commit() {
  if (!active_) return false;
  active_ = false;
  Store* store = CurrentStore().get();
  if (!store) return false;
  if (--store->transaction_depth > 0) return !store->transaction_failed;
  const int rc = store->transaction_failed ? 0 : store->sql->Commit();
  if (store->transaction_failed || rc != 0) {
    store->sql->Rollback();
    ForgetLoadedRecords(*store);
    Reload(*store);
    // A failed part already said why; a refused commit says it here, so that the user can be
    // told what the disk answered.
    if (rc != 0) SetLastError(detail::ErrorFromSqlite(rc));
    return false;
  }
  return true;
}

ReadSnapshot::ReadSnapshot() {
  Store* store = GetStore(false);
  if (!store) return;
  if (store->transaction_depth == 0) {
    if (store->sql->BeginRead() != 0) return;
    // The first read inside the transaction fixes the snapshot; whatever was loaded before it
    // may be older, so everything is read again.
    if (!Reload(*store) || store->sql->DataVersion(&store->data_version) != 0) {
      store->sql->Rollback();
      return;
    }
  }
  ++store->transaction_depth;
  active_ = true;
}

ReadSnapshot::~ReadSnapshot() {
  if (!active_) return;
  Store* store = CurrentStore().get();
  if (store && --store->transaction_depth == 0) store->sql->Rollback();
}

}  // namespace objectstore
}  // namespace ce

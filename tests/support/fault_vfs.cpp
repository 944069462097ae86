#include "support/fault_vfs.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace calvira::testing {
namespace {

constexpr int kCrashed = 86;  // the exit code of a process that a kCrash fault ended

struct FaultState {
  sqlite3_vfs* real = nullptr;
  int countdown = 0;  // 0 = no fault planned
  bool failing = false;
  bool struck = false;
  Fault fault = Fault::kDiskFull;
  int counted = 0;
};

FaultState state;

// Called before every write or sync (for kReadError: read) the fault applies to: true when this
// one must fail.
bool ShouldFail(bool applies) {
  if (!applies) return false;
  ++state.counted;
  if (state.failing) return true;
  if (state.countdown > 0 && --state.countdown == 0) return state.failing = state.struck = true;
  return false;
}

// Our file is the machine's file with a header in front of it.
struct FaultFile {
  sqlite3_file base;
  sqlite3_file* real;  // allocated right after this struct
};

// Every method without a fault hands the call to the machine's file unchanged.
template <auto method, typename... Args>
auto PassFile(sqlite3_file* f, Args... args) {
  sqlite3_file* real = reinterpret_cast<FaultFile*>(f)->real;
  return (real->pMethods->*method)(real, args...);
}
int Read(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
  if (ShouldFail(state.fault == Fault::kReadError)) {
    errno = EIO;  // what the system would say, for sqlite3_system_errno
    return SQLITE_IOERR_READ;
  }
  return PassFile<&sqlite3_io_methods::xRead>(f, buf, amount, offset);
}
int Write(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
  const Fault fault = state.fault;
  if (ShouldFail(fault != Fault::kReadError)) {
    if (fault == Fault::kCrash) ::_exit(kCrashed);
    errno = fault == Fault::kDiskFull ? ENOSPC : EIO;
    return fault == Fault::kDiskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
  }
  return PassFile<&sqlite3_io_methods::xWrite>(f, buf, amount, offset);
}
int Sync(sqlite3_file* f, int flags) {
  if (ShouldFail(state.fault == Fault::kIoError || state.fault == Fault::kCrash)) {
    if (state.fault == Fault::kCrash) ::_exit(kCrashed);
    return SQLITE_IOERR_FSYNC;
  }
  return PassFile<&sqlite3_io_methods::xSync>(f, flags);
}

using M = sqlite3_io_methods;
const sqlite3_io_methods kMethods = {
    .iVersion = 2,
    .xClose = PassFile<&M::xClose>,
    .xRead = Read,
    .xWrite = Write,
    .xTruncate = PassFile<&M::xTruncate>,
    .xSync = Sync,
    .xFileSize = PassFile<&M::xFileSize>,
    .xLock = PassFile<&M::xLock>,
    .xUnlock = PassFile<&M::xUnlock>,
    .xCheckReservedLock = PassFile<&M::xCheckReservedLock>,
    .xFileControl = PassFile<&M::xFileControl>,
    .xSectorSize = PassFile<&M::xSectorSize>,
    .xDeviceCharacteristics = PassFile<&M::xDeviceCharacteristics>,
    .xShmMap = PassFile<&M::xShmMap>,
    .xShmLock = PassFile<&M::xShmLock>,
    .xShmBarrier = PassFile<&M::xShmBarrier>,
    .xShmUnmap = PassFile<&M::xShmUnmap>,
    .xFetch = nullptr,
    .xUnfetch = nullptr,
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* out_flags) {
  FaultFile* f = reinterpret_cast<FaultFile*>(file);
  f->real = reinterpret_cast<sqlite3_file*>(f + 1);
  std::memset(f->real, 0, static_cast<size_t>(state.real->szOsFile));
  const int rc = state.real->xOpen(state.real, name, f->real, flags, out_flags);
  // Closed only when opened: the machine's file has no methods otherwise.
  f->base.pMethods = rc == SQLITE_OK ? &kMethods : nullptr;
  return rc;
}

}  // namespace

void InstallFaultVfs() {
  if (!state.real) {
    state.real = sqlite3_vfs_find(nullptr);
    // The machine's own VFS, which ignores the VFS it is handed, but for the files it opens.
    static sqlite3_vfs vfs = *state.real;
    vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + state.real->szOsFile;
    vfs.pNext = nullptr;
    vfs.zName = kFaultVfsName;
    vfs.xOpen = Open;
    sqlite3_vfs_register(&vfs, 0);
  }
  ClearFault();
}

void FailFrom(int nth, Fault fault) {
  state = {state.real, nth, false, false, fault, 0};
}

void ClearFault() {
  state.countdown = 0;
  state.failing = false;
}

bool FaultStruck() {
  return state.struck;
}

void LowerKeyDerivation() {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db, "PRAGMA cipher_default_kdf_iter = 1000", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

int FaultCount() {
  return state.counted;
}

}  // namespace calvira::testing

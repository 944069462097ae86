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
};

FaultState& State() {
  static FaultState state;
  return state;
}

// Called before every write or sync: true when this one must fail.
bool ShouldFail() {
  FaultState& s = State();
  if (s.failing) return true;
  if (s.countdown > 0 && --s.countdown == 0) {
    s.failing = true;
    s.struck = true;
    return true;
  }
  return false;
}

struct FaultFile {
  sqlite3_file base;
  sqlite3_file* real;  // allocated right after this struct
};

FaultFile* Cast(sqlite3_file* f) {
  return reinterpret_cast<FaultFile*>(f);
}

int Close(sqlite3_file* f) {
  const int rc =
      Cast(f)->real->pMethods ? Cast(f)->real->pMethods->xClose(Cast(f)->real) : SQLITE_OK;
  return rc;
}
int Read(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
  if (State().fault == Fault::kReadError && ShouldFail()) {
    errno = EIO;  // what the system would say, for sqlite3_system_errno
    return SQLITE_IOERR_READ;
  }
  return Cast(f)->real->pMethods->xRead(Cast(f)->real, buf, amount, offset);
}
int Write(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
  if (State().fault != Fault::kReadError && ShouldFail()) {
    if (State().fault == Fault::kCrash) ::_exit(kCrashed);
    errno = State().fault == Fault::kDiskFull ? ENOSPC : EIO;
    return State().fault == Fault::kDiskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
  }
  return Cast(f)->real->pMethods->xWrite(Cast(f)->real, buf, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  return Cast(f)->real->pMethods->xTruncate(Cast(f)->real, size);
}
int Sync(sqlite3_file* f, int flags) {
  if ((State().fault == Fault::kIoError || State().fault == Fault::kCrash) && ShouldFail()) {
    if (State().fault == Fault::kCrash) ::_exit(kCrashed);
    return SQLITE_IOERR_FSYNC;
  }
  return Cast(f)->real->pMethods->xSync(Cast(f)->real, flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Cast(f)->real->pMethods->xFileSize(Cast(f)->real, size);
}
int Lock(sqlite3_file* f, int level) {
  return Cast(f)->real->pMethods->xLock(Cast(f)->real, level);
}
int Unlock(sqlite3_file* f, int level) {
  return Cast(f)->real->pMethods->xUnlock(Cast(f)->real, level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Cast(f)->real->pMethods->xCheckReservedLock(Cast(f)->real, out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Cast(f)->real->pMethods->xFileControl(Cast(f)->real, op, arg);
}
int SectorSize(sqlite3_file* f) {
  return Cast(f)->real->pMethods->xSectorSize(Cast(f)->real);
}
int DeviceCharacteristics(sqlite3_file* f) {
  return Cast(f)->real->pMethods->xDeviceCharacteristics(Cast(f)->real);
}
int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
  return Cast(f)->real->pMethods->xShmMap(Cast(f)->real, page, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return Cast(f)->real->pMethods->xShmLock(Cast(f)->real, offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) {
  Cast(f)->real->pMethods->xShmBarrier(Cast(f)->real);
}
int ShmUnmap(sqlite3_file* f, int del) {
  return Cast(f)->real->pMethods->xShmUnmap(Cast(f)->real, del);
}

const sqlite3_io_methods kMethods = {
    .iVersion = 2,
    .xClose = Close,
    .xRead = Read,
    .xWrite = Write,
    .xTruncate = Truncate,
    .xSync = Sync,
    .xFileSize = FileSize,
    .xLock = Lock,
    .xUnlock = Unlock,
    .xCheckReservedLock = CheckReservedLock,
    .xFileControl = FileControl,
    .xSectorSize = SectorSize,
    .xDeviceCharacteristics = DeviceCharacteristics,
    .xShmMap = ShmMap,
    .xShmLock = ShmLock,
    .xShmBarrier = ShmBarrier,
    .xShmUnmap = ShmUnmap,
    .xFetch = nullptr,
    .xUnfetch = nullptr,
};

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out_flags) {
  (void)vfs;
  FaultFile* f = Cast(file);
  f->real = reinterpret_cast<sqlite3_file*>(f + 1);
  std::memset(f->real, 0, static_cast<size_t>(State().real->szOsFile));
  const int rc = State().real->xOpen(State().real, name, f->real, flags, out_flags);
  f->base.pMethods = rc == SQLITE_OK ? &kMethods : nullptr;
  return rc;
}

int Delete(sqlite3_vfs*, const char* name, int sync) {
  return State().real->xDelete(State().real, name, sync);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
  return State().real->xAccess(State().real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
  return State().real->xFullPathname(State().real, name, n, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) {
  return State().real->xDlOpen(State().real, name);
}
void DlError(sqlite3_vfs*, int n, char* out) {
  State().real->xDlError(State().real, n, out);
}
void (*DlSym(sqlite3_vfs*, void* h, const char* sym))(void) {
  return State().real->xDlSym(State().real, h, sym);
}
void DlClose(sqlite3_vfs*, void* h) {
  State().real->xDlClose(State().real, h);
}
int Randomness(sqlite3_vfs*, int n, char* out) {
  return State().real->xRandomness(State().real, n, out);
}
int SleepFor(sqlite3_vfs*, int us) {
  return State().real->xSleep(State().real, us);
}
int CurrentTime(sqlite3_vfs*, double* out) {
  return State().real->xCurrentTime(State().real, out);
}
int GetLastError(sqlite3_vfs*, int n, char* out) {
  return State().real->xGetLastError ? State().real->xGetLastError(State().real, n, out) : 0;
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
  return State().real->xCurrentTimeInt64(State().real, out);
}

}  // namespace

void InstallFaultVfs() {
  static sqlite3_vfs vfs;
  FaultState& s = State();
  if (!s.real) {
    s.real = sqlite3_vfs_find(nullptr);
    vfs = sqlite3_vfs{};
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + s.real->szOsFile;
    vfs.mxPathname = s.real->mxPathname;
    vfs.zName = kFaultVfsName;
    vfs.xOpen = Open;
    vfs.xDelete = Delete;
    vfs.xAccess = Access;
    vfs.xFullPathname = FullPathname;
    vfs.xDlOpen = DlOpen;
    vfs.xDlError = DlError;
    vfs.xDlSym = DlSym;
    vfs.xDlClose = DlClose;
    vfs.xRandomness = Randomness;
    vfs.xSleep = SleepFor;
    vfs.xCurrentTime = CurrentTime;
    vfs.xGetLastError = GetLastError;
    vfs.xCurrentTimeInt64 = CurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
  }
  ClearFault();
}

void FailFrom(int nth, Fault fault) {
  FaultState& s = State();
  s.countdown = nth;
  s.fault = fault;
  s.failing = false;
  s.struck = false;
}

void ClearFault() {
  State().countdown = 0;
  State().failing = false;
}

bool FaultStruck() {
  return State().struck;
}

}  // namespace calvira::testing

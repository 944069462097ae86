// An SQLite VFS that passes everything to the machine's own VFS but can make the Nth write or
// sync fail, as a full disk or a failing disk would. Tests mount the store through it and check
// that a failed write loses nothing and is never reported as done.
#pragma once

namespace calvira::testing {

inline constexpr const char* kFaultVfsName = "calvira-fault";

enum class Fault {
  kDiskFull,   // writes fail with SQLITE_FULL
  kIoError,    // writes and syncs fail with SQLITE_IOERR
  kReadError,  // reads fail with SQLITE_IOERR_READ, as from a failing disk
  kCrash,      // the process ends at the write or sync, as under kill -9 (run it in a child)
};

// Registers the VFS (once) and clears any planned fault.
void InstallFaultVfs();

// From the nth write or sync (for kReadError: read) from now on (1 = the next), every one fails,
// until ClearFault.
void FailFrom(int nth, Fault fault);
void ClearFault();

// Whether a planned fault has struck since FailFrom.
bool FaultStruck();

// How many writes and syncs (for kReadError: reads) there were since FailFrom, failed or not.
int FaultCount();

// Encrypted stores made from now on derive their key in 1,000 rounds, not SQLCipher's 256,000:
// the full strength costs a fifth of a second a mount (seconds under the sanitizers), and a sweep
// mounts hundreds of times.
void LowerKeyDerivation();

}  // namespace calvira::testing

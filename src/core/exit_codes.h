#pragma once

#include <set>

namespace tarvex {

// What tarvex.exe tells the tool that ran it.
enum class ExitCode : int {
    Done = 0,                     // for check: nothing stale; for delete: every key in a complete backup
    StaleFound = 1,               // check found stale rows
    Usage = 2,                    // nothing was read or changed
    BackupIncomplete = 3,         // delete stopped before the key whose backup failed
    NoAdminRights = 4,            // the scan's reads need write rights under HKLM
    DeletionFailed = 5,           // some keys are still there; the rest went ahead
    StaleUnknown = 6,             // the device query failed: nothing is taken for stale
    DoneWithIncompleteBackup = 7, // --force deleted keys whose backup is not whole
    Unfinished = 8,               // standard output was lost, or the program failed unexpectedly
    HandOverFailed = 9,           // a ghost had static settings and nothing was handed over
    HandOverPartial = 10,         // some values were handed over and could not all be put back
    RestartNeeded = 3010,         // done; Windows must restart to finish an uninstall or a hand-over
};

// What a run met besides its own result, in the order its exit code takes
// them: the first one met wins. The error stream names each of them.
// A half-written adapter comes first: no other outcome may hide it.
inline constexpr ExitCode kOutranking[] = {ExitCode::HandOverPartial,          ExitCode::BackupIncomplete,
                                           ExitCode::DeletionFailed,           ExitCode::HandOverFailed,
                                           ExitCode::DoneWithIncompleteBackup, ExitCode::Unfinished,
                                           ExitCode::RestartNeeded};

// The code a run exits with: the first of kOutranking it met, else its own
// result (0, 1, or a code that ended it before any deletion: 2, 4, 6).
ExitCode WinningExitCode(const std::set<ExitCode>& met, ExitCode result);

}  // namespace tarvex

#pragma once

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
};

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

namespace tarvex {

inline constexpr char kLargeBackupFile[] = "LargeBackup.reg";
inline constexpr char kSmallBackupFile[] = "SmallBackup.reg";
// A new full backup is written beside the old one under this suffix first.
inline constexpr char kDraftSuffix[] = ".tmp";

// What went wrong with one backup, as BackupError flags it.
struct BackupProblem {
    Utf8Text file;          // the backup file it concerns
    bool written = true;    // false: the file could not be opened or written
    bool complete = true;   // false: a key, a value or a name could not be saved
    // A full backup that could not take LargeBackup.reg's place: it is kept
    // as file, a name of its own beside it (the draft's, when even that
    // could not be given).
    bool keptAside = false;
    // false: kept only under the draft's name, which the next full backup removes.
    bool lasting = true;
};

// Asked once for each backup that BackupError marks as incomplete.
class BackupWarning {
public:
    virtual ~BackupWarning() = default;
    // True to delete all the same; false stops before the key it concerns.
    virtual bool GoOnWithoutFullBackup(const BackupProblem& problem) = 0;
    // Told where a full backup that could not replace LargeBackup.reg is kept,
    // before any question about it.
    virtual void KeptAside(const BackupProblem& problem) = 0;
};

// The answer for one backup, and whether the keys it covers go without a
// whole and lasting copy.
struct BackupAnswer {
    bool goOn = true;
    bool incomplete = false;
};

// Asks the warning when BackupError is set; otherwise the run goes on.
BackupAnswer AskAboutBackup(BackupWarning& warning, const BackupProblem& problem);

}  // namespace tarvex

#pragma once

#include "core/backup_mode.h"
#include "core/clock.h"
#include "core/deletion_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <vector>

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

enum class KeyOutcome { Deleted, StillThere };
enum class KeyKind { Entry, IpSettings };

struct DeletedKey {
    AnsiText key;
    KeyOutcome outcome;
    bool backupIncomplete = false;  // deleted past a warning that its backup is not whole
    KeyKind kind = KeyKind::Entry;
    std::size_t entry = 0;  // the plan's entry it belongs to
};

struct DeletionReport {
    std::vector<DeletedKey> keys;  // in the plan's order, up to where it stopped
    bool stopped = false;          // a backup warning was answered with a stop
};

// The name a full backup is kept under when it cannot replace
// LargeBackup.reg: LargeBackup-YYYYMMDD-HHMMSS.reg, then -2, -3, ... for
// attempt 2, 3, ...
Utf8Text KeptBackupName(const Utf8Text& backupFolder, const LocalTime& time, int attempt);

// Backs up as the mode asks, then deletes the plan's keys under HKLM, each
// with its subtree: every entry in order, and after an entry that went, its
// IP settings. The full backup holds the four Network trees and then every
// planned IP-settings key; it goes into a draft that replaces
// LargeBackup.reg only once the run goes ahead: complete, or incomplete and
// the warning answered to go on; a stop removes the draft. A draft that
// cannot take the old file's place is kept beside it under a dated name. A
// key already gone when its turn comes (such as one the current control set
// shares) counts as deleted.
DeletionReport DeleteAsPlanned(const Services& services, const DeletionPlan& plan, BackupMode mode,
                               BackupWarning& warning, const Utf8Text& backupFolder);

}  // namespace tarvex

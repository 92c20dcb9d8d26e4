#pragma once

#include "core/backup_choices.h"
#include "export/mod_export.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

inline constexpr char kLargeBackupFile[] = "LargeBackup.reg";
inline constexpr char kSmallBackupFile[] = "SmallBackup.reg";
// A new full backup is written beside the old one under this suffix first.
inline constexpr char kDraftSuffix[] = ".tmp";

// Asked once for each backup that BackupError marks as incomplete.
class BackupWarning {
public:
    virtual ~BackupWarning() = default;
    // True to delete all the same; false stops before the key it concerns.
    virtual bool GoOnWithoutFullBackup() = 0;
};

enum class KeyOutcome { Deleted, StillThere };

struct DeletedKey {
    AnsiText key;
    KeyOutcome outcome;
};

struct DeletionReport {
    std::vector<DeletedKey> keys;  // in the order given, up to where it stopped
    bool stopped = false;          // a backup warning was answered with a stop
};

// Backs up as the choices ask, then deletes each key under HKLM with its
// subtree, in order. The full backup goes into a draft that replaces
// LargeBackup.reg only when complete; a complete draft that cannot take the
// old file's place stays beside it. A key already gone when its turn comes
// (such as one the current control set shares) counts as deleted.
DeletionReport DeleteConnectionKeys(const ExportPlatform& platform, const std::vector<AnsiText>& keys,
                                    BackupChoices& choices, BackupWarning& warning, const Utf8Text& backupFolder);

}  // namespace tarvex

#pragma once

#include "core/backup_warning.h"
#include "core/clock.h"
#include "export/mod_export.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// The name a full backup is kept under when it cannot replace
// LargeBackup.reg: LargeBackup-YYYYMMDD-HHMMSS.reg, then -2, -3, ... for
// attempt 2, 3, ...
Utf8Text KeptBackupName(const Utf8Text& backupFolder, const LocalTime& time, int attempt);

struct FullBackup {
    BackupAnswer answer;
    std::optional<Utf8Text> file;  // where it is, when the run goes on with it
};

// Writes the keys under HKLM, in order, into a draft that replaces
// LargeBackup.reg only once the run goes ahead: complete, or incomplete and
// the warning answered to go on; a stop removes the draft. A draft that
// cannot take the old file's place is kept beside it under a dated name.
FullBackup WriteFullBackup(const ExportPlatform& platform, Clock& clock, BackupWarning& warning,
                           const std::vector<AnsiText>& keys, const Utf8Text& backupFolder);

}  // namespace tarvex

#pragma once

#include "core/backup_warning.h"
#include "core/clock.h"
#include "core/deletion_plan.h"
#include "export/mod_export.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

struct FullBackup {
    BackupAnswer answer;
    std::optional<Utf8Text> file;  // where it is, when the run goes on with it
};

// The four Network trees, then every other key the plan may take, each once.
std::vector<AnsiText> FullBackupKeys(const DeletionPlan& plan);

// Writes the keys under HKLM, in order, into a draft that replaces
// LargeBackup.reg only once the run goes ahead: complete, or incomplete and
// the warning answered to go on; a stop removes the draft. A draft that
// cannot take the old file's place is kept beside it under a dated name.
FullBackup WriteFullBackup(const ExportPlatform& platform, Clock& clock, BackupWarning& warning,
                           const std::vector<AnsiText>& keys, const Utf8Text& backupFolder);

}  // namespace tarvex

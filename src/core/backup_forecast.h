#pragma once

#include "core/backup_mode.h"
#include "core/deletion_plan.h"
#include "core/services.h"

#include <optional>
#include <vector>

namespace tarvex {

// What a run's backups would hold, as the dry run tells it.
struct BackupForecast {
    bool runFileWhole = true;             // the run's own file would hold every key whole
    std::vector<AnsiText> leftToRunFile;  // keys SmallBackup.reg would leave to it
    std::optional<AnsiText> incomplete;   // the first key a REGEDIT4 backup would not hold whole
};

// Makes the backups the mode asks for in memory, with the run's own
// writers, and writes no file: the run would stop where they are not whole.
// As the console runs: a key SmallBackup.reg cannot hold exactly is left to
// the run's own file where that file holds it.
BackupForecast ForecastBackups(const Services& services, const DeletionPlan& plan, BackupMode mode);

}  // namespace tarvex

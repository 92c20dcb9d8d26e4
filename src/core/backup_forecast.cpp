#include "core/backup_forecast.h"

#include "core/full_backup.h"
#include "core/regedit4_blocks.h"
#include "core/run_file.h"
#include "core/scratch_files.h"
#include "export/backup_error.h"
#include "export/mod_export.h"

namespace tarvex {

BackupForecast ForecastBackups(const Services& services, const DeletionPlan& plan, BackupMode mode) {
    BackupForecast forecast;
    if (mode == BackupMode::None) return forecast;
    const RunFile runFile(services, KeysToGo(plan));
    forecast.runFileWhole = runFile.Whole();
    ScratchFiles scratch;
    const ExportPlatform platform{services.registry, scratch, nullptr};
    for (const AnsiText& key : mode == BackupMode::Full ? FullBackupKeys(plan) : KeysToGo(plan)) {
        BackupError = false;
        if (mode == BackupMode::Full) {
            ExportKey(platform, kLocalMachine, key, "scratch.reg", true, true);
        } else if (!runFile.FitsRegedit4(key) && runFile.Holds(key)) {
            forecast.leftToRunFile.push_back(key);
        } else if (const RunFile::KeyRead* read = runFile.Find(key)) {
            // As the run makes SmallBackup.reg's blocks.
            if (read->tree) Regedit4Blocks(*read->tree, key, services.codec);
            BackupError = BackupError || !read->whole;
        }
        if (BackupError) {
            forecast.incomplete = key;
            break;
        }
    }
    BackupError = false;
    return forecast;
}

}  // namespace tarvex

#pragma once

#include "core/backup_mode.h"
#include "core/backup_warning.h"
#include "core/deletion_outcomes.h"
#include "core/deletion_plan.h"
#include "core/device_query.h"
#include "core/hand_over.h"
#include "core/run_record.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// Where a key goes that a REGEDIT4 block in the ANSI code page cannot hold
// exactly (a name or a text outside it).
enum class Regedit4Loss {
    Warned,         // into SmallBackup.reg as far as the code page allows, and warned about
    LeftToRunFile,  // left out of SmallBackup.reg: the run's own file holds it exactly
};

struct DeletionReport {
    // Every selected entry, planned IP-settings key and device, in the order
    // the run reached them; what a stop left, and the devices the plan kept, last.
    std::vector<Outcome> outcomes;
    std::vector<Utf8Text> backups;  // the backup files written, the run's own first
    std::optional<Utf8Text> runFile;       // the run's own, when it holds something
    std::vector<AnsiText> leftToRunFile;  // keys only the run's own file holds
    bool stopped = false;           // a backup warning was answered with a stop
    bool restartNeeded = false;     // an uninstall asks for a restart
    std::optional<HandOverResult> handOver;  // when the plan has one
};

// Windows must restart: for an uninstall, or for settings handed over.
inline bool RestartNeeded(const DeletionReport& report) {
    return report.restartNeeded || (report.handOver && report.handOver->done);
}

// With a backup, first the run's own file, which holds every key the plan
// deletes and must be written whole (or the warning agree) before anything
// is deleted, and is cut to what went once the run ends. Then backs up as
// the mode asks, and carries out the plan, entry by entry: the
// entry's key under HKLM with its subtree, then, only after an entry that
// went, its IP settings. An entry whose device the run uninstalls backs up
// its settings and what the uninstall may take with it first; then the
// device goes, once, if still not present just before; and only after it
// went the settings that are left. The full backup holds the four Network
// trees and then every planned key, and takes LargeBackup.reg's place only
// once the run goes ahead. A stop takes back what the stopped backup
// appended to SmallBackup.reg. A key already gone when its turn comes (such as
// one the current control set shares) counts as deleted. A hand-over the
// plan has comes last, after every entry, setting and device.
// The record, when given, learns of the run's first change just before it.
DeletionReport DeleteAsPlanned(const Services& services, const DeletionPlan& plan, BackupMode mode,
                               BackupWarning& warning, const Utf8Text& backupFolder,
                               Regedit4Loss loss = Regedit4Loss::Warned, RunRecord* record = nullptr);

}  // namespace tarvex

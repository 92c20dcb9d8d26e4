#pragma once

#include "core/backup_mode.h"
#include "core/backup_warning.h"
#include "core/deletion_plan.h"
#include "core/device_query.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

enum class KeyOutcome { Deleted, StillThere };
enum class KeyKind { Entry, IpSettings };

struct DeletedKey {
    AnsiText key;
    KeyOutcome outcome;
    bool backupIncomplete = false;  // deleted past a warning that its backup is not whole
    KeyKind kind = KeyKind::Entry;
    std::size_t entry = 0;  // the plan's entry it belongs to
};

enum class DeviceOutcome { Uninstalled, Kept, Failed };

// What became of one of the plan's devices.
struct DeviceResult {
    PlannedDevice device;
    std::size_t entry;  // the plan's entry after which it was reached
    DeviceOutcome outcome;
    KeptReason keptReason = KeptReason::ConnectedSinceScan;  // when kept
    std::optional<DeviceQueryError> error;  // the call that failed, or that could not tell its presence
    bool restartNeeded = false;
};

struct DeletionReport {
    std::vector<DeletedKey> keys;        // in the plan's order, up to where it stopped
    std::vector<DeviceResult> devices;   // those reached, in the order they were
    std::vector<Utf8Text> backups;       // the backup files written
    bool stopped = false;                // a backup warning was answered with a stop
    bool restartNeeded = false;          // an uninstall asks for a restart
};

// Backs up as the mode asks, then carries out the plan, entry by entry: the
// entry's key under HKLM with its subtree; after an entry that went, its IP
// settings; then its device, once, if still not present just before. The
// full backup holds the four Network trees and then every planned
// IP-settings key, and takes LargeBackup.reg's place only once the run goes
// ahead. A key already gone when its turn comes (such as one the current
// control set shares) counts as deleted.
DeletionReport DeleteAsPlanned(const Services& services, const DeletionPlan& plan, BackupMode mode,
                               BackupWarning& warning, const Utf8Text& backupFolder);

}  // namespace tarvex

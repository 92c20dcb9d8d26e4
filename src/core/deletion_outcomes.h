#pragma once

#include "core/deletion_plan.h"
#include "core/device_query.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// What became of one thing a deletion plan names. Every selected entry,
// every IP-settings key the plan names and every device it names ends in
// exactly one of these.
enum class Fate {
    Deleted,
    Uninstalled,  // a device; or a key it took with it
    Kept,         // for a reason
    Failed,       // still there, or the call that failed
    Left,         // a stop came first
};

struct Outcome {
    ItemKind kind;
    Fate fate;
    AnsiText what;          // the key below HKLM as stored, or the device's instance ID
    std::size_t entry = 0;  // the plan's entry it belongs to; for a device, the entry it came with
    std::optional<KeptReason> reason;       // why it was kept
    std::optional<DeviceQueryError> error;  // the call that failed, or that could not tell the presence
    bool backupIncomplete = false;          // gone past a warning that its backup is not whole
    // A device's:
    Utf8Text name;
    bool restartNeeded = false;
    std::vector<AnsiText> removedWithDevice;  // keys found gone after its uninstall
    Utf8Text detail;  // what a kept item's reason turns on, where it needs more words
};

// The outcomes a run of the plan would have if everything went: what the dry
// run reports, in the order the run would reach them.
std::vector<Outcome> PlannedOutcomes(const DeletionPlan& plan);

// An entry the plan keeps whole, as its reason says.
Outcome KeptWhole(const PlannedEntry& entry, std::size_t index);

// The words for a kept item's reason, with the failed call or the detail where there is one.
Utf8Text KeptText(const Outcome& outcome);

}  // namespace tarvex

#pragma once

#include "core/device_query.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// What a deletion is asked to remove besides the selected entries.
struct DeletionAsks {
    bool ipSettings = false;  // the IP settings of entries whose adapter is gone
};

// Why a selected entry's IP settings stay.
enum class KeptReason {
    AdapterPresent,    // its live configuration: deleting it can cut the machine off
    StillInstalled,    // not present, but installed: it needs them when connected again
    NoAdapterNamed,    // a VPN or dial-up entry may name none
    DevicesNotListed,  // the device query failed: no adapter can be told gone
};

// The words both programs give for a reason.
const char* KeptReasonText(KeptReason reason);

struct PlannedEntry {
    AnsiText key;                         // the connection key, deleted first
    std::vector<AnsiText> ipSettings;     // its IP-settings keys that go after it, as stored
    std::vector<AnsiText> keptIpSettings;  // those that stay, for keptReason
    KeptReason keptReason = KeptReason::NoAdapterNamed;
};

// What one run will delete, decided once, with the reasons for what it keeps:
// the backups, the dry run and both programs' reports read this.
struct DeletionPlan {
    std::vector<PlannedEntry> entries;
    // The device query made as the deletion starts, when IP settings are asked for.
    std::optional<DeviceQueryError> deviceError;
};

// Plans the deletion of the given connection keys, in order. Asked for IP
// settings, it queries the devices afresh (never a list minutes old) and
// takes the IP settings of entries whose adapter has no device; their keys
// are named as they are stored.
DeletionPlan PlanDeletion(const Services& services, const std::vector<AnsiText>& keys, const DeletionAsks& asks);

}  // namespace tarvex

#pragma once

#include "core/device_query.h"
#include "core/hand_over_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// What a deletion is asked to remove besides the selected entries.
struct DeletionAsks {
    bool ipSettings = false;        // the IP settings of entries whose adapter is gone
    bool uninstallDevices = false;  // the devices of entries whose adapter is not present
    HandOverRequest handOver;       // a ghost's static IPv4 settings to its successor; needs ipSettings
};

// Why a selected entry's IP settings or device stay.
enum class KeptReason {
    AdapterPresent,      // its live configuration: deleting it can cut the machine off
    StillInstalled,      // not present, but installed: it needs them when connected again
    NoAdapterNamed,      // a VPN or dial-up entry may name none
    DevicesNotListed,    // the device query failed: no adapter can be told gone
    ConnectedSinceScan,  // found present just before it would have been uninstalled
    NotChecked,          // whether it is present could not be asked
    EntryNotDeleted,     // its entry stayed, and would use them again
    UninstallFailed,     // the device stays installed and needs them
};

// The words both programs give for a reason.
const char* KeptReasonText(KeptReason reason);

// An adapter's device, as the device query names it.
struct PlannedDevice {
    AnsiText instanceId;
    Utf8Text name;
    // What the network class installer may remove with it, backed up before
    // its uninstall: its entries and IP settings in the current control
    // set, as stored, those that exist.
    std::vector<AnsiText> mayTakeWith;
};

struct KeptDevice {
    PlannedDevice device;
    KeptReason reason;
};

struct PlannedEntry {
    AnsiText key;                          // the connection key, deleted first
    std::vector<AnsiText> ipSettings;      // its IP-settings keys that go after it, as stored
    std::vector<AnsiText> keptIpSettings;  // those that stay, for keptReason
    KeptReason keptReason = KeptReason::NoAdapterNamed;
    // The device to uninstall after it, among the plan's devices. Its IP
    // settings go only once the device is uninstalled.
    std::optional<std::size_t> device;
};

// What a run deletes: connection entries with their IP settings, or network
// profiles with their signatures in those places.
enum class DeletionSubject { ConnectionEntries, NetworkProfiles };

// What one run will delete, decided once, with the reasons for what it keeps:
// the backups, the dry run and both programs' reports read this.
struct DeletionPlan {
    std::vector<PlannedEntry> entries;
    std::vector<PlannedDevice> devices;    // to uninstall, each once, in the entries' order
    std::vector<KeptDevice> keptDevices;   // selected entries' devices that stay, each once
    // The device query made as the deletion starts, when more than the entries is asked for.
    std::optional<DeviceQueryError> deviceError;
    std::optional<HandOverPlan> handOver;  // when asked for
    DeletionSubject subject = DeletionSubject::ConnectionEntries;
};

// Plans the deletion of the given connection keys, in order. Asked for more
// than the entries, it queries the devices afresh (never a list minutes
// old). IP settings go for entries whose adapter has no device, and for
// those not present whose device the run uninstalls, unless a present
// adapter's driver key names their GUID; their keys are named as they are
// stored. Only devices that are not present are uninstalled.
DeletionPlan PlanDeletion(const Services& services, const std::vector<AnsiText>& keys, const DeletionAsks& asks);

}  // namespace tarvex

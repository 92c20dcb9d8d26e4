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

// What a deletion names: an entry is followed by its IP-settings keys, a
// network profile by its signatures.
enum class ItemKind { Entry, IpSettings, Device, Profile, Signature };

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
    HandOverRefused,     // a ghost's static settings no present adapter can take: kept whole
    ConnectionNotChecked,  // whether a profile's network is connected could not be asked again
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
    Utf8Text detail;
};

// A connection entry with its IP settings, or a network profile with its signatures.
struct PlannedEntry {
    AnsiText key;                          // deleted first
    std::vector<AnsiText> ipSettings;      // an entry's IP-settings keys that go after it, as stored
    std::vector<AnsiText> keptIpSettings;  // those that stay, for keptReason
    KeptReason keptReason = KeptReason::NoAdapterNamed;
    // The device to uninstall after it, among the plan's devices. Its IP
    // settings go only once the device is uninstalled.
    std::optional<std::size_t> device;
    ItemKind kind = ItemKind::Entry;   // or Profile
    std::vector<AnsiText> signatures;  // a profile's signatures that go after it, as stored
    // Why the entry stays whole, with its IP settings and its device.
    std::optional<Utf8Text> keptWhole;
};

// The keys that go after an entry's key, and what they are.
const std::vector<AnsiText>& KeysAfter(const PlannedEntry& entry);
ItemKind KindAfter(const PlannedEntry& entry);

// What one run will delete, decided once, with the reasons for what it keeps:
// the backups, the dry run and both programs' reports read this.
struct DeletionPlan {
    std::vector<PlannedEntry> entries;
    std::vector<PlannedDevice> devices;    // to uninstall, each once, in the entries' order
    std::vector<KeptDevice> keptDevices;   // selected entries' devices that stay, each once
    // The device query made as the deletion starts, when more than the entries is asked for.
    std::optional<DeviceQueryError> deviceError;
    std::optional<HandOverPlan> handOver;  // when asked for
};

// Plans the deletion of the given connection keys, in order. Asked for more
// than the entries, it queries the devices afresh (never a list minutes
// old). IP settings go for entries whose adapter has no device, and for
// those not present whose device the run uninstalls, unless a present
// adapter's driver key names their GUID; their keys are named as they are
// stored. Only devices that are not present are uninstalled.
DeletionPlan PlanDeletion(const Services& services, const std::vector<AnsiText>& keys, const DeletionAsks& asks);

// Keeps the entries of the ghosts the hand-over plan found with static
// settings, every row of their GUIDs, whole: the entry, its IP settings and
// its device stay, for why. Entries of other GUIDs that name a kept device
// keep their IP settings, which only its uninstall would free.
void KeepStaticGhostsWhole(DeletionPlan& plan, const Services& services, const Utf8Text& why);

}  // namespace tarvex

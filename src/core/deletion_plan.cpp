#include "core/deletion_plan.h"

#include "core/adapter_states.h"
#include "core/connection_scan.h"
#include "core/ipv4_settings.h"
#include "core/present_adapters.h"
#include "core/stored_names.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace tarvex {

namespace {

std::optional<AnsiText> InstanceIdOf(RegistryApi& registry, const AnsiText& key) {
    UniqueKey connection(registry);
    if (connection.Open(kLocalMachine, key + "\\Connection", kKeyRead) != kSuccess) return std::nullopt;
    return ReadInstanceId(registry, connection.get());
}

// An entry gives up its settings when Windows no longer has its adapter at
// all, or when the same run uninstalls it.
std::optional<KeptReason> WhyKept(AdapterState adapter, bool devicesListed, bool uninstalling) {
    if (!devicesListed) return KeptReason::DevicesNotListed;
    switch (adapter) {
        case AdapterState::NoDevice: return std::nullopt;
        case AdapterState::NotPresent:
            if (uninstalling) return std::nullopt;
            return KeptReason::StillInstalled;
        case AdapterState::Present: return KeptReason::AdapterPresent;
        case AdapterState::Unknown: break;
    }
    return KeptReason::NoAdapterNamed;
}

// Each device once, whichever entries name it: by its upper-case instance ID.
class DevicePlanner {
public:
    DevicePlanner(const Services& services, DeletionPlan& plan, StoredNames& stored)
        : services_(services), plan_(plan), stored_(stored) {}

    std::optional<std::size_t> Take(const ConnectionRow& row) {
        if (!row.pnpInstanceId) return std::nullopt;
        const Utf8Text id = services_.cases.Upper(services_.codec.ToUtf8(*row.pnpInstanceId));
        const PlannedDevice device{*row.pnpInstanceId, row.device};
        if (plan_.deviceError) {
            Keep(id, device, KeptReason::DevicesNotListed);
        } else if (row.adapter == AdapterState::Present) {
            Keep(id, device, KeptReason::AdapterPresent);
        } else if (row.adapter == AdapterState::NotPresent) {
            auto [known, added] = uninstalled_.emplace(id, plan_.devices.size());
            if (added) plan_.devices.push_back(device);
            AddMayTakeWith(plan_.devices[known->second], row.key);
            return known->second;
        }
        return std::nullopt;
    }

private:
    // With no class install parameters the removal is global: the class
    // installer may take the adapter's entry and settings in the current
    // control set, whichever set's entry was selected.
    void AddMayTakeWith(PlannedDevice& device, const AnsiText& entryKey) {
        const AnsiText current = InCurrentControlSet(entryKey);
        std::vector<AnsiText> keys{current};
        for (const AnsiText& key : IpSettingsKeys(current)) keys.push_back(key);
        for (const AnsiText& key : keys) {
            const std::optional<AnsiText> found = stored_.Find(key);
            if (found && std::find(device.mayTakeWith.begin(), device.mayTakeWith.end(), *found) == device.mayTakeWith.end()) {
                device.mayTakeWith.push_back(*found);
            }
        }
    }

    void Keep(const Utf8Text& id, const PlannedDevice& device, KeptReason reason) {
        if (kept_.insert(id).second) plan_.keptDevices.push_back({device, reason});
    }

    const Services& services_;
    DeletionPlan& plan_;
    StoredNames& stored_;
    std::unordered_map<Utf8Text, std::size_t> uninstalled_;
    std::set<Utf8Text> kept_;
};

}  // namespace

const char* KeptReasonText(KeptReason reason) {
    switch (reason) {
        case KeptReason::AdapterPresent: return "the adapter is present";
        case KeptReason::StillInstalled: return "the adapter is not present but still installed";
        case KeptReason::NoAdapterNamed: return "the entry names no adapter";
        case KeptReason::DevicesNotListed: return "the network devices could not be listed";
        case KeptReason::ConnectedSinceScan: return "connected since the scan";
        case KeptReason::NotChecked: return "whether the adapter is present could not be checked";
        case KeptReason::EntryNotDeleted: return "its entry was not deleted";
        case KeptReason::UninstallFailed: return "the uninstall failed";
        case KeptReason::HandOverRefused: return "its static IPv4 settings cannot be handed over";
        case KeptReason::ConnectionNotChecked: return "whether its network is connected could not be checked";
    }
    return "";
}

const std::vector<AnsiText>& KeysAfter(const PlannedEntry& entry) {
    return entry.kind == ItemKind::Profile ? entry.signatures : entry.ipSettings;
}

ItemKind KindAfter(const PlannedEntry& entry) {
    return entry.kind == ItemKind::Profile ? ItemKind::Signature : ItemKind::IpSettings;
}

DeletionPlan PlanDeletion(const Services& services, const std::vector<AnsiText>& keys, const DeletionAsks& asks) {
    DeletionPlan plan;
    for (const AnsiText& key : keys) plan.entries.push_back({key});
    if (!asks.ipSettings && !asks.uninstallDevices) return plan;

    std::vector<ConnectionRow> rows;
    for (const AnsiText& key : keys) {
        rows.push_back({key});
        rows.back().pnpInstanceId = InstanceIdOf(services.registry, key);
    }
    plan.deviceError = SetAdapterStates(services.devices, services.cases, rows);
    // A second look before any settings go: a present adapter's driver key
    // names its connection's GUID, whatever its PnpInstanceID says.
    PresentAdapters present;
    if (asks.ipSettings && !plan.deviceError) {
        present = ReadPresentAdapters(services.devices, services.registry);
        plan.deviceError = present.error;
    }
    StoredNames stored(services);
    DevicePlanner devices(services, plan, stored);
    std::vector<bool> settingsGo(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PlannedEntry& entry = plan.entries[i];
        if (asks.uninstallDevices) entry.device = devices.Take(rows[i]);
        if (!asks.ipSettings) continue;
        std::optional<KeptReason> kept = WhyKept(rows[i].adapter, !plan.deviceError, entry.device.has_value());
        if (!kept && AdapterOfGuid(present, services.cases, ConnectionGuid(entry.key))) kept = KeptReason::AdapterPresent;
        for (const AnsiText& path : IpSettingsKeys(entry.key)) {
            const std::optional<AnsiText> found = stored.Find(path);
            if (!found) continue;
            (kept ? entry.keptIpSettings : entry.ipSettings).push_back(*found);
        }
        if (kept) entry.keptReason = *kept;
        settingsGo[i] = !kept;
    }
    if (asks.handOver.ask != HandOverAsk::None) {
        // The pairing follows what the plan deletes: the dry run, the question and the run agree.
        std::vector<SelectedEntry> selected;
        for (std::size_t i = 0; i < rows.size(); ++i) selected.push_back({rows[i], settingsGo[i], plan.entries[i].ipSettings});
        if (plan.deviceError) present.error = plan.deviceError;
        plan.handOver = PlanHandOver(services, selected, present, asks.handOver);
    }
    return plan;
}

void KeepStaticGhostsWhole(DeletionPlan& plan, const Services& services, const Utf8Text& why) {
    if (!plan.handOver) return;
    std::set<Utf8Text> ghosts;
    for (const StaticGhost& ghost : plan.handOver->staticGhosts) ghosts.insert(UpperName(services, ghost.side.guid));
    std::vector<bool> deviceKept(plan.devices.size());
    for (PlannedEntry& entry : plan.entries) {
        if (!ghosts.count(UpperName(services, ConnectionGuid(entry.key)))) continue;
        entry.keptWhole = why;
        entry.keptIpSettings.insert(entry.keptIpSettings.end(), entry.ipSettings.begin(), entry.ipSettings.end());
        entry.ipSettings.clear();
        entry.keptReason = KeptReason::HandOverRefused;
        if (entry.device) deviceKept[*entry.device] = true;
    }
    std::vector<std::optional<std::size_t>> renumbered(plan.devices.size());
    std::vector<PlannedDevice> devices;
    for (std::size_t i = 0; i < plan.devices.size(); ++i) {
        if (deviceKept[i]) {
            plan.keptDevices.push_back({plan.devices[i], KeptReason::HandOverRefused, why});
        } else {
            renumbered[i] = devices.size();
            devices.push_back(plan.devices[i]);
        }
    }
    plan.devices = std::move(devices);
    for (PlannedEntry& entry : plan.entries) {
        if (!entry.device) continue;
        entry.device = renumbered[*entry.device];
        if (entry.device || entry.keptWhole) continue;
        // Not present, and installed still: its settings went only with the uninstall.
        entry.keptIpSettings.insert(entry.keptIpSettings.end(), entry.ipSettings.begin(), entry.ipSettings.end());
        entry.ipSettings.clear();
        entry.keptReason = KeptReason::StillInstalled;
    }
}

}  // namespace tarvex

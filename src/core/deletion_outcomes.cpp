#include "core/deletion_outcomes.h"

namespace tarvex {

Outcome KeptWhole(const PlannedEntry& entry, std::size_t index) {
    Outcome kept{entry.kind, Fate::Kept, entry.key, index, KeptReason::HandOverRefused};
    kept.detail = entry.keptWhole.value_or("");
    return kept;
}

std::vector<Outcome> PlannedOutcomes(const DeletionPlan& plan) {
    std::vector<Outcome> outcomes;
    std::vector<bool> named(plan.devices.size());
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const PlannedEntry& entry = plan.entries[i];
        if (entry.keptWhole) {
            outcomes.push_back(KeptWhole(entry, i));
        } else {
            outcomes.push_back({entry.kind, Fate::Deleted, entry.key, i});
        }
        for (const AnsiText& key : entry.keptIpSettings) {
            outcomes.push_back({ItemKind::IpSettings, Fate::Kept, key, i, entry.keptReason});
        }
        if (entry.device && !named[*entry.device]) {
            named[*entry.device] = true;
            const PlannedDevice& device = plan.devices[*entry.device];
            Outcome uninstalled{ItemKind::Device, Fate::Uninstalled, device.instanceId, i};
            uninstalled.name = device.name;
            outcomes.push_back(std::move(uninstalled));
        }
        for (const AnsiText& key : KeysAfter(entry)) outcomes.push_back({KindAfter(entry), Fate::Deleted, key, i});
    }
    for (const KeptDevice& kept : plan.keptDevices) {
        Outcome device{ItemKind::Device, Fate::Kept, kept.device.instanceId, 0, kept.reason};
        device.name = kept.device.name;
        device.detail = kept.detail;
        outcomes.push_back(std::move(device));
    }
    return outcomes;
}

Utf8Text KeptText(const Outcome& outcome) {
    Utf8Text text = outcome.reason ? KeptReasonText(*outcome.reason) : "";
    if (outcome.error) text.append(": ").append(FailureText(*outcome.error));
    if (!outcome.detail.empty()) text.append(": ").append(outcome.detail);
    return text;
}

}  // namespace tarvex

#include "window/deletion_summary.h"

#include <map>
#include <string>
#include <vector>

namespace tarvex {

namespace {

Utf8Text Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The IP settings of deleted entries that stay, counted by reason.
Utf8Text KeptSettings(const DeletionPlan& plan, const DeletionReport& report) {
    std::map<KeptReason, std::size_t> kept;
    std::size_t entries = 0;
    for (const DeletedKey& key : report.keys) {
        const PlannedEntry& entry = plan.entries[key.entry];
        if (key.kind != KeyKind::Entry || key.outcome != KeyOutcome::Deleted || entry.keptIpSettings.empty()) continue;
        ++kept[entry.keptReason];
        ++entries;
    }
    if (entries == 0) return {};
    Utf8Text text = Counted(entries, "deleted entry keeps its IP settings:", "deleted entries keep their IP settings:");
    for (const auto& [reason, count] : kept) {
        text.append("\n").append(std::to_string(count)).append(": ").append(KeptReasonText(reason));
    }
    return text;
}

Utf8Text DeviceLine(const PlannedDevice& device, const Utf8Text& why) {
    Utf8Text line = "\n";
    if (!device.name.empty()) line.append(device.name).append(", ");
    return line.append(device.instanceId).append(": ").append(why);
}

}  // namespace

std::optional<DeletionSummary> SummarizeDeletion(const DeletionPlan& plan, const DeletionReport& report) {
    std::vector<Utf8Text> parts;
    if (Utf8Text settings = KeptSettings(plan, report); !settings.empty()) parts.push_back(settings);

    Utf8Text kept;
    Utf8Text failed;
    std::size_t keptCount = plan.keptDevices.size();
    std::size_t failedCount = 0;
    for (const KeptDevice& device : plan.keptDevices) kept += DeviceLine(device.device, KeptReasonText(device.reason));
    for (const DeviceResult& result : report.devices) {
        if (result.outcome == DeviceOutcome::Kept) {
            ++keptCount;
            kept += DeviceLine(result.device, KeptReasonText(result.keptReason));
        } else if (result.outcome == DeviceOutcome::Failed) {
            ++failedCount;
            failed += DeviceLine(result.device, FailureText(result.error));
        }
    }
    if (keptCount > 0) parts.push_back(Counted(keptCount, "adapter was kept installed:", "adapters were kept installed:") + kept);
    if (failedCount > 0) {
        parts.push_back(Counted(failedCount, "adapter could not be uninstalled:", "adapters could not be uninstalled:") +
                        failed);
    }
    if (report.restartNeeded) parts.push_back("Windows asks for a restart to finish uninstalling the adapters.");
    if (parts.empty()) return std::nullopt;

    Utf8Text text;
    for (const Utf8Text& part : parts) text += (text.empty() ? "" : "\n\n") + part;
    const bool warn = failedCount > 0 || report.restartNeeded;
    return DeletionSummary{text, warn ? MessageIcon::Warning : MessageIcon::Information};
}

}  // namespace tarvex

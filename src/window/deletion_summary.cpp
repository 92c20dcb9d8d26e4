#include "window/deletion_summary.h"

#include <map>
#include <string>

namespace tarvex {

std::optional<Utf8Text> DeletionSummary(const DeletionPlan& plan, const DeletionReport& report) {
    std::map<KeptReason, std::size_t> kept;
    std::size_t entries = 0;
    for (const DeletedKey& key : report.keys) {
        const PlannedEntry& entry = plan.entries[key.entry];
        if (key.kind != KeyKind::Entry || key.outcome != KeyOutcome::Deleted || entry.keptIpSettings.empty()) continue;
        ++kept[entry.keptReason];
        ++entries;
    }
    if (entries == 0) return std::nullopt;
    Utf8Text text = std::to_string(entries) +
                    (entries == 1 ? " deleted entry keeps its IP settings:\n" : " deleted entries keep their IP settings:\n");
    for (const auto& [reason, count] : kept) text += "\n" + std::to_string(count) + ": " + KeptReasonText(reason);
    return text;
}

}  // namespace tarvex

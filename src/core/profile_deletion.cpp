#include "core/profile_deletion.h"

namespace tarvex {

DeletionPlan PlanProfileDeletion(const std::vector<NetworkProfile>& profiles) {
    DeletionPlan plan;
    for (const NetworkProfile& profile : profiles) {
        PlannedEntry entry{profile.key};
        entry.kind = ItemKind::Profile;
        entry.signatures = profile.signatures;
        plan.entries.push_back(std::move(entry));
    }
    return plan;
}

}  // namespace tarvex

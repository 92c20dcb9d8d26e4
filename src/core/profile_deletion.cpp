#include "core/profile_deletion.h"

namespace tarvex {

DeletionPlan PlanProfileDeletion(const std::vector<NetworkProfile>& profiles) {
    DeletionPlan plan;
    plan.subject = DeletionSubject::NetworkProfiles;
    for (const NetworkProfile& profile : profiles) plan.entries.push_back({profile.key, profile.signatures});
    return plan;
}

}  // namespace tarvex

#pragma once

#include "core/deletion_plan.h"
#include "core/network_profiles.h"

#include <vector>

namespace tarvex {

// The deletion of these profiles, in their order: each profile's key with
// its subtree, then each signature that names it, each backed up just
// before it goes, as an entry and its IP settings are.
DeletionPlan PlanProfileDeletion(const std::vector<NetworkProfile>& profiles);

}  // namespace tarvex

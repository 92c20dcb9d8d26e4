#pragma once

#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// The one box after a deletion: how many deleted entries kept their IP
// settings, by reason. Nothing when there is nothing to say.
std::optional<Utf8Text> DeletionSummary(const DeletionPlan& plan, const DeletionReport& report);

}  // namespace tarvex

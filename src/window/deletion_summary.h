#pragma once

#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "util/encoded_text.h"
#include "window/message_boxes.h"

#include <optional>

namespace tarvex {

struct DeletionSummary {
    Utf8Text text;
    MessageIcon icon;  // a warning when something failed or a restart is asked for
};

// The one box after a deletion, with what there is of: the deleted entries
// that kept their IP settings, by reason; the adapters kept, and why; the
// uninstalls that failed; a restart Windows asks for. Nothing when there is
// nothing to say.
std::optional<DeletionSummary> SummarizeDeletion(const DeletionPlan& plan, const DeletionReport& report);

}  // namespace tarvex

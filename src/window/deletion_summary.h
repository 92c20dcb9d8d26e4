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
// that kept their IP settings, by reason; the adapters uninstalled, those
// kept and why, and those that failed; the keys that could not be deleted;
// what a stop left; a restart Windows asks for; what was handed over, or
// why nothing was where a ticked ghost had static settings. Nothing when there is
// nothing to say, and nothing after a stop that uninstalled nothing, failed
// at nothing and needs no restart.
// A record of the run the Application log could not take (notRecorded) is
// told too.
std::optional<DeletionSummary> SummarizeDeletion(const DeletionPlan& plan, const DeletionReport& report,
                                                 const std::optional<Utf8Text>& notRecorded = std::nullopt);

}  // namespace tarvex

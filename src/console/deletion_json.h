#pragma once

#include "core/exit_codes.h"
#include "core/ansi_codec.h"
#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "util/encoded_text.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// How far a delete run got: its plan once made, its report once carried out.
struct DeletionRecord {
    std::optional<DeletionPlan> plan;
    std::optional<DeletionReport> report;
    std::vector<Utf8Text> names;  // the connection's or profile's name of each planned entry
    bool dryRun = false;
    std::string stopReason;  // why what was left was left
    bool handOverAsked = false;
};

// One JSON object for fleet tools, in ASCII: deleted (key, connection,
// ipSettings), uninstalled (pnpInstanceId, device, removedWithDevice), kept,
// failed and left (what, and its reason or error), backups, restartNeeded,
// dryRun, handOver (null when not asked; else done, partial, planned,
// reason, heldBy, from, to, settings, undoFile and freeName, the exact
// name or null) and exitCode. A dry
// run lists what it would do; a run that ended before its plan lists nothing.
std::string DeletionJson(const DeletionRecord& record, const AnsiCodec& codec, ExitCode exitCode);

}  // namespace tarvex

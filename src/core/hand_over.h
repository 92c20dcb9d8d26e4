#pragma once

#include "core/hand_over_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// What became of a hand-over that was asked for: handed over, not handed
// over with the new adapter as it was, or partly handed over and not all
// put back.
struct HandOverResult {
    bool done = false;
    bool partial = false;
    Utf8Text reason;                   // why nothing, or not all, was handed over
    std::optional<Utf8Text> undoFile;  // kept once a value was written, even if put back
};

// Before anything is deleted, for a hand-over the plan makes: its undo
// file, HandOver-YYYYMMDD-HHMMSS.reg, made new and empty in the backup
// folder whatever the backup mode, so that a run that could not keep one
// deletes nothing. A dry run's is removed at once. False when none can be
// made.
bool PrepareUndoFile(const Services& services, HandOverPlan& plan, const Utf8Text& backupFolder, bool dryRun);

// The undo file's name as a dry run gives it: HandOver-YYYYMMDD-HHMMSS.reg in the folder.
Utf8Text UndoFilePattern(const Utf8Text& backupFolder);

// Hands the ghost's values over to the successor, after the run's every
// entry, setting and device, and only if the run was not stopped and the
// ghost's entry and settings are gone. Just before the first write the
// successor's key is read whole and checked against the plan's rules
// again, and its device must still be present; the undo file then takes
// each value to be written as it is, or a line that deletes it. A failed
// write puts back every value written before it. The undo file goes when
// nothing was written.
HandOverResult HandOver(const Services& services, const HandOverPlan& plan, bool stopped);

}  // namespace tarvex

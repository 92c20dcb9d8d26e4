#pragma once

#include "core/hand_over_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// What became of a hand-over that was asked for.
struct HandOverResult {
    bool done = false;
    Utf8Text reason;                   // why nothing (or not all) was handed over
    std::optional<Utf8Text> undoFile;  // written before the first write, and kept
};

// Whether an undo file can be made new in the folder: asked before anything
// is deleted, whatever the backup mode.
bool CanCreateUndoFile(BackupFiles& files, Clock& clock, const Utf8Text& backupFolder);

// Hands the ghost's values over to the successor, after the run's every
// entry, setting and device, and only if the run was not stopped and the
// ghost's entry and settings are gone. First an undo file,
// HandOver-YYYYMMDD-HHMMSS.reg, created new in the backup folder: the
// successor's key as it is now. One that cannot be written whole is
// removed, and nothing is written.
HandOverResult HandOver(const Services& services, const HandOverPlan& plan, bool stopped,
                        const Utf8Text& backupFolder);

}  // namespace tarvex

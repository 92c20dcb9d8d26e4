#pragma once

#include "core/backup_mode.h"
#include "core/hand_over_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"
#include "window/connection_list.h"
#include "window/deletion_choices.h"
#include "window/event_pump.h"
#include "window/message_boxes.h"

namespace tarvex {

inline constexpr char kBackupErrorText[] = "Error(s) found in backing up registry";
inline constexpr char kContinueText[] = "Do you want to continue with the Tarvex removal and risk losing data?";
// Shown when a full backup could not replace the last one, before any warning about it.
inline constexpr char kKeptAsideText[] = "LargeBackup.reg could not be replaced. This full backup is kept as ";
// Added when it could keep only the draft's name.
inline constexpr char kMoveDraftText[] =
    " Move it somewhere safe before the next full backup, which starts a new LargeBackup.reg.tmp.";

// The question before uninstalling devices; No is its default.
Utf8Text UninstallQuestion(std::size_t devices);

// The question before handing a ghost's settings over; No is its default.
Utf8Text HandOverQuestion(const HandOverPlan& plan);

// The question before deleting a ghost's static settings that no adapter
// can take: the connections, their addresses, the reason with the adapters
// looked at, and whether a backup holds them. No, its default, keeps them whole.
Utf8Text NoHandOverQuestion(const HandOverPlan& plan, BackupMode mode);

// Told when the hand-over's undo file cannot be made: nothing is deleted.
inline constexpr char kNoUndoFileText[] =
    "The undo file for handing the IPv4 settings over cannot be created in the program's folder. Nothing was deleted.";

// The window's part in a deletion.
struct DeletionControls {
    ConnectionList& LV1;
    DeletionChoices& checks;
    MessageBoxes& messages;
    EventPump& pump;
};

// Backs up as the check boxes ask, deletes the key of every ticked row in
// list order, with what the boxes add (IP settings, devices, the hand-over
// of a ghost's static settings), and scans again. A No to deleting static
// settings no adapter can take keeps that ghost whole; a No to the
// uninstall question deletes nothing; a No to the hand-over question
// deletes as before and hands nothing over; a No to a backup warning stops
// at once, with no rescan. One box sums up what stayed, what
// failed and what was uninstalled.
void DeleteTickedConnections(const Services& services, const DeletionControls& controls, const Utf8Text& appFolder);

}  // namespace tarvex

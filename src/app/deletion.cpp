#include "app/deletion.h"

#include "app/connection_scan.h"
#include "export/backup_error.h"
#include "registry/mod_reg.h"

namespace tarvex {

namespace {

// True when the backup went well or the user chooses to go on without it.
bool BackupAccepted(MessageBoxes& messages) {
    if (!BackupError) return true;
    messages.Show(kBackupErrorText, MessageIcon::Critical, MessageButtons::Ok);
    return messages.Show(kContinueText, MessageIcon::None, MessageButtons::YesNo) == MessageAnswer::Yes;
}

// The earlier full backup may be the only copy of keys deleted before: it
// stays until its replacement is wholly on the disk, and a failed
// replacement leaves it as it was.
bool BackUpAllNetworkTrees(const DeletionTools& tools, const std::string& file) {
    BackupError = false;
    const std::string draft = file + kDraftSuffix;
    bool complete = true;
    bool append = false;
    for (const char* path : kNetworkPaths) {
        complete = ExportKey(tools.backup, kLocalMachine, path, draft, true, append) && complete;
        append = true;
    }
    if (!complete || !tools.backup.files.Replace(draft, file)) {
        BackupError = true;
        tools.backup.files.Remove(draft);
    }
    return BackupAccepted(tools.messages);
}

bool BackUpOneKey(const DeletionTools& tools, const std::string& keyPath, const std::string& file) {
    BackupError = false;
    ExportKey(tools.backup, kLocalMachine, keyPath, file, true, true);
    return BackupAccepted(tools.messages);
}

}  // namespace

void DeleteTickedConnections(const DeletionTools& tools, const std::string& appFolder) {
    if (tools.checks.chkBackup() && !BackUpAllNetworkTrees(tools, appFolder + kLargeBackupFile)) return;

    const int rowCount = tools.LV1.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (!tools.LV1.IsChecked(row)) continue;
        if (!tools.checks.chkBackup() && tools.checks.chkSelective() &&
            !BackUpOneKey(tools, tools.LV1.RowText(row), appFolder + kSmallBackupFile)) {
            return;
        }
        // A failed deletion shows up again in the rescan.
        DeleteKey(tools.backup.registry, kLocalMachine, tools.LV1.RowText(row));
    }

    tools.pump.DoEvents();
    ScanConnections(tools.backup.registry, tools.LV1);
}

}  // namespace tarvex

#include "core/backup_target.h"

#include "core/backup_warning.h"

namespace tarvex {

PathKind BackupFolderKind(BackupFiles& files, const Utf8Text& backupFolder) {
    // Asked with its backslash, a file would pass for missing; a drive's root keeps it.
    Utf8Text folder = backupFolder;
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') folder.pop_back();
    return files.KindOf(folder);
}

Utf8Text FirstBackupFile(const Utf8Text& backupFolder, BackupMode mode) {
    return backupFolder + (mode == BackupMode::Full ? Utf8Text(kLargeBackupFile) + kDraftSuffix : kSmallBackupFile);
}

bool CanWriteBackup(BackupFiles& files, const Utf8Text& backupFolder, BackupMode mode) {
    if (mode == BackupMode::None) return true;
    const Utf8Text path = FirstBackupFile(backupFolder, mode);
    if (std::unique_ptr<OutputFile> made = files.Open(path, false)) {
        const bool closed = made->Close();
        made.reset();
        files.Remove(path);
        return closed;
    }
    // The draft is removed by name before it is written: a link there leads nowhere.
    std::unique_ptr<OutputFile> existing = files.Open(path, true);
    return existing && (mode == BackupMode::Full || !existing->IsLinked());
}

}  // namespace tarvex

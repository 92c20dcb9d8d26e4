#include "core/connection_deletion.h"

#include "core/network_paths.h"
#include "export/backup_error.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

namespace {

bool BackupAccepted(BackupWarning& warning) { return !BackupError || warning.GoOnWithoutFullBackup(); }

// The earlier full backup may be the only copy of keys deleted before: it
// stays until its replacement is wholly on the disk. A written draft that
// cannot take its place is kept, as it may become the only copy of what the
// user now deletes; a draft the disk did not take in full is removed.
bool BackUpAllNetworkTrees(const ExportPlatform& platform, BackupWarning& warning, const Utf8Text& file) {
    BackupError = false;
    const Utf8Text draft = file + kDraftSuffix;
    bool written = true;
    bool append = false;
    for (const char* path : kNetworkPaths) {
        written = ExportKey(platform, kLocalMachine, path, draft, true, append) && written;
        append = true;
    }
    if (!written) {
        platform.files.Remove(draft);
    } else if (platform.files.IsLinked(file) || !platform.files.Replace(draft, file)) {
        BackupError = true;
    }
    return BackupAccepted(warning);
}

bool BackUpOneKey(const ExportPlatform& platform, BackupWarning& warning, const AnsiText& key,
                  const Utf8Text& file) {
    BackupError = false;
    ExportKey(platform, kLocalMachine, key, file, true, true);
    return BackupAccepted(warning);
}

KeyOutcome DeleteAndLook(RegistryApi& registry, const AnsiText& key) {
    DeleteKey(registry, kLocalMachine, key);
    UniqueKey left(registry);
    return left.Open(kLocalMachine, key, kEnumerateSubKeys) == kFileNotFound ? KeyOutcome::Deleted
                                                                               : KeyOutcome::StillThere;
}

}  // namespace

DeletionReport DeleteConnectionKeys(const ExportPlatform& platform, const std::vector<AnsiText>& keys,
                                    BackupChoices& choices, BackupWarning& warning, const Utf8Text& backupFolder) {
    DeletionReport report;
    if (choices.chkBackup() && !BackUpAllNetworkTrees(platform, warning, backupFolder + kLargeBackupFile)) {
        report.stopped = true;
        return report;
    }
    for (const AnsiText& key : keys) {
        if (!choices.chkBackup() && choices.chkSelective() &&
            !BackUpOneKey(platform, warning, key, backupFolder + kSmallBackupFile)) {
            report.stopped = true;
            return report;
        }
        report.keys.push_back({key, DeleteAndLook(platform.registry, key)});
    }
    return report;
}

}  // namespace tarvex

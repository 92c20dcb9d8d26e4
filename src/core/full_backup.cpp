#include "core/full_backup.h"

#include "core/dated_file_name.h"
#include "core/network_paths.h"
#include "export/backup_error.h"
#include "registry/registry_api.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace tarvex {

namespace {

// A complete draft may be the only copy of what is deleted now; under the
// draft's own name the next full backup would remove it.
Utf8Text KeepAside(BackupFiles& files, Clock& clock, const Utf8Text& draft, const Utf8Text& backupFolder) {
    const LocalTime now = clock.LocalNow();
    for (int attempt = 1; attempt <= kDatedNameAttempts; ++attempt) {
        const Utf8Text name = DatedFileName(backupFolder, "LargeBackup", now, attempt);
        const RenameResult result = files.Rename(draft, name);
        if (result == RenameResult::Done) return name;
        if (result == RenameResult::Failed) break;
    }
    return draft;
}

bool InNetworkTrees(const AnsiText& key) {
    for (const char* tree : kNetworkPaths) {
        const std::size_t length = std::char_traits<char>::length(tree);
        if (key.compare(0, length, tree) == 0 && key.size() > length && key[length] == '\\') return true;
    }
    return false;
}

}  // namespace

std::vector<AnsiText> FullBackupKeys(const DeletionPlan& plan) {
    std::vector<AnsiText> keys(kNetworkPaths.begin(), kNetworkPaths.end());
    std::unordered_set<AnsiText> listed;
    auto add = [&](const AnsiText& key) {
        if (!InNetworkTrees(key) && listed.insert(key).second) keys.push_back(key);
    };
    for (const PlannedEntry& entry : plan.entries) std::for_each(entry.ipSettings.begin(), entry.ipSettings.end(), add);
    for (const PlannedDevice& device : plan.devices) std::for_each(device.mayTakeWith.begin(), device.mayTakeWith.end(), add);
    return keys;
}

// The earlier full backup may be the only copy of keys deleted before: it
// stays until the run goes ahead and its replacement is wholly on the disk.
// A draft the disk did not take in full, or one the run stopped at, is removed.
FullBackup WriteFullBackup(const ExportPlatform& platform, Clock& clock, BackupWarning& warning,
                           const std::vector<AnsiText>& keys, const Utf8Text& backupFolder) {
    BackupError = false;
    BackupProblem problem{backupFolder + kLargeBackupFile};
    const Utf8Text draft = problem.file + kDraftSuffix;
    bool append = false;
    for (const AnsiText& key : keys) {
        problem.written = ExportKey(platform, kLocalMachine, key, draft, true, append) && problem.written;
        append = true;
    }
    problem.complete = !BackupError;
    const BackupAnswer answer = AskAboutBackup(warning, problem);
    if (!problem.written || !answer.goOn) {
        platform.files.Remove(draft);
        return {answer};
    }
    if (platform.files.Replace(draft, problem.file)) return {answer, problem.file};

    problem.file = KeepAside(platform.files, clock, draft, backupFolder);
    problem.keptAside = true;
    problem.lasting = problem.file != draft;
    warning.KeptAside(problem);
    // An incomplete backup was answered already; a whole one kept aside is asked about now.
    if (!problem.complete) return {answer, problem.file};
    BackupError = true;
    const BackupAnswer keptAnswer = AskAboutBackup(warning, problem);
    if (!keptAnswer.goOn && !problem.lasting) {
        platform.files.Remove(draft);
        return {keptAnswer};
    }
    return {keptAnswer, problem.file};
}

}  // namespace tarvex

#include "core/full_backup.h"

#include "export/backup_error.h"
#include "registry/registry_api.h"

#include <cstdio>
#include <string>

namespace tarvex {

namespace {

// Enough dated names for one second's worth of runs.
constexpr int kKeptNameAttempts = 100;

// A complete draft may be the only copy of what is deleted now; under the
// draft's own name the next full backup would remove it.
Utf8Text KeepAside(BackupFiles& files, Clock& clock, const Utf8Text& draft, const Utf8Text& backupFolder) {
    const LocalTime now = clock.LocalNow();
    for (int attempt = 1; attempt <= kKeptNameAttempts; ++attempt) {
        const Utf8Text name = KeptBackupName(backupFolder, now, attempt);
        const RenameResult result = files.Rename(draft, name);
        if (result == RenameResult::Done) return name;
        if (result == RenameResult::Failed) break;
    }
    return draft;
}

}  // namespace

Utf8Text KeptBackupName(const Utf8Text& backupFolder, const LocalTime& time, int attempt) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    Utf8Text name = backupFolder + "LargeBackup-" + stamp;
    if (attempt > 1) name.append("-").append(std::to_string(attempt));
    return name + ".reg";
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

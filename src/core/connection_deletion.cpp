#include "core/connection_deletion.h"

#include "core/network_paths.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <cstdio>

namespace tarvex {

namespace {

// Enough dated names for one second's worth of runs.
constexpr int kKeptNameAttempts = 100;

// The answer for one backup, and whether the keys it covers go without a whole copy.
struct BackupAnswer {
    bool goOn = true;
    bool incomplete = false;
};

BackupAnswer Ask(BackupWarning& warning, const BackupProblem& problem) {
    if (!BackupError) return {};
    return {warning.GoOnWithoutFullBackup(problem), !problem.written || !problem.complete || !problem.lasting};
}

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

// The earlier full backup may be the only copy of keys deleted before: it
// stays until the run goes ahead and its replacement is wholly on the disk.
// A draft the disk did not take in full, or one the run stopped at, is removed.
BackupAnswer BackUpEverything(const ExportPlatform& platform, Clock& clock, BackupWarning& warning,
                              const DeletionPlan& plan, const Utf8Text& backupFolder) {
    BackupError = false;
    BackupProblem problem{backupFolder + kLargeBackupFile};
    const Utf8Text draft = problem.file + kDraftSuffix;
    std::vector<AnsiText> paths(kNetworkPaths.begin(), kNetworkPaths.end());
    for (const PlannedEntry& entry : plan.entries) paths.insert(paths.end(), entry.ipSettings.begin(), entry.ipSettings.end());
    bool append = false;
    for (const AnsiText& path : paths) {
        problem.written = ExportKey(platform, kLocalMachine, path, draft, true, append) && problem.written;
        append = true;
    }
    problem.complete = !BackupError;
    const BackupAnswer answer = Ask(warning, problem);
    if (!problem.written || !answer.goOn) {
        platform.files.Remove(draft);
        return answer;
    }
    if (platform.files.Replace(draft, problem.file)) return answer;

    problem.file = KeepAside(platform.files, clock, draft, backupFolder);
    problem.keptAside = true;
    problem.lasting = problem.file != draft;
    warning.KeptAside(problem);
    // An incomplete backup was answered already; a whole one kept aside is asked about now.
    if (!problem.complete) return answer;
    BackupError = true;
    const BackupAnswer keptAnswer = Ask(warning, problem);
    if (!keptAnswer.goOn && !problem.lasting) platform.files.Remove(draft);
    return keptAnswer;
}

BackupAnswer BackUpOneKey(const ExportPlatform& platform, BackupWarning& warning, const AnsiText& key,
                          const Utf8Text& file) {
    BackupError = false;
    BackupProblem problem{file};
    problem.written = ExportKey(platform, kLocalMachine, key, file, true, true);
    problem.complete = !BackupError;
    return Ask(warning, problem);
}

KeyOutcome DeleteAndLook(RegistryApi& registry, const AnsiText& key) {
    DeleteKey(registry, kLocalMachine, key);
    UniqueKey left(registry);
    return left.Open(kLocalMachine, key, kEnumerateSubKeys) == kFileNotFound ? KeyOutcome::Deleted
                                                                               : KeyOutcome::StillThere;
}

}  // namespace

Utf8Text KeptBackupName(const Utf8Text& backupFolder, const LocalTime& time, int attempt) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    Utf8Text name = backupFolder + "LargeBackup-" + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return name + ".reg";
}

DeletionReport DeleteAsPlanned(const Services& services, const DeletionPlan& plan, BackupMode mode,
                               BackupWarning& warning, const Utf8Text& backupFolder) {
    const ExportPlatform platform{services.registry, services.files, services.pointer};
    DeletionReport report;
    BackupAnswer full;
    if (mode == BackupMode::Full) {
        full = BackUpEverything(platform, services.clock, warning, plan, backupFolder);
        if (!full.goOn) {
            report.stopped = true;
            return report;
        }
    }
    // The answer for the key's backup; a stop ends the run before the key.
    const auto delete_ = [&](const AnsiText& key, KeyKind kind, std::size_t entry) {
        BackupAnswer answer = full;
        if (mode == BackupMode::Selective) {
            answer = BackUpOneKey(platform, warning, key, backupFolder + kSmallBackupFile);
            if (!answer.goOn) return false;
        }
        report.keys.push_back({key, DeleteAndLook(platform.registry, key), answer.incomplete, kind, entry});
        return true;
    };
    for (std::size_t entry = 0; entry < plan.entries.size(); ++entry) {
        const PlannedEntry& planned = plan.entries[entry];
        report.stopped = !delete_(planned.key, KeyKind::Entry, entry);
        if (report.stopped) return report;
        // An entry that stayed keeps its settings: they would serve it again.
        if (report.keys.back().outcome != KeyOutcome::Deleted) continue;
        for (const AnsiText& key : planned.ipSettings) {
            report.stopped = !delete_(key, KeyKind::IpSettings, entry);
            if (report.stopped) return report;
        }
    }
    return report;
}

}  // namespace tarvex

#include "console/deletion_lines.h"

namespace tarvex {

namespace {

// Kept settings are no failure; they are named, each key with its reason.
void AddKept(DeletionLines& lines, const PlannedEntry& entry, const AnsiCodec& codec) {
    for (const AnsiText& key : entry.keptIpSettings) {
        lines.err += "kept ip settings\t" + codec.ToUtf8(key) + "\t" + KeptReasonText(entry.keptReason) + "\n";
    }
}

struct Counts {
    std::size_t deleted = 0;
    std::size_t failed = 0;
};

}  // namespace

DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report, const AnsiCodec& codec,
                               const std::string& stopReason) {
    DeletionLines lines;
    Counts entries;
    Counts ipSettings;
    std::size_t kept = 0;
    std::size_t incomplete = 0;
    for (const DeletedKey& key : report.keys) {
        const bool entry = key.kind == KeyKind::Entry;
        const Utf8Text path = codec.ToUtf8(key.key);
        Counts& counts = entry ? entries : ipSettings;
        if (key.outcome != KeyOutcome::Deleted) {
            ++counts.failed;
            lines.err += std::string("tarvex: could not delete ") + (entry ? "" : "ip settings ") + path + "\n";
            continue;
        }
        ++counts.deleted;
        lines.out += std::string(entry ? "deleted\t" : "deleted ip settings\t") + path + "\n";
        if (key.backupIncomplete) {
            ++incomplete;
            lines.err += "tarvex: deleted with an incomplete backup: " + path + "\n";
        }
        if (entry) {
            AddKept(lines, plan.entries[key.entry], codec);
            kept += plan.entries[key.entry].keptIpSettings.size();
        }
    }
    std::string summary = std::to_string(entries.deleted) + " deleted, " + std::to_string(entries.failed) + " failed";
    if (ipSettings.deleted + ipSettings.failed + kept > 0) {
        summary += "; ip settings: " + std::to_string(ipSettings.deleted) + " deleted, " +
                   std::to_string(ipSettings.failed) + " failed, " + std::to_string(kept) + " kept";
    }
    if (incomplete > 0) summary += ", " + std::to_string(incomplete) + " with an incomplete backup";
    if (report.stopped) {
        summary += ", " + std::to_string(plan.entries.size() - entries.deleted - entries.failed) +
                   " left: " + stopReason;
    }
    lines.err += summary + "\n";
    if (report.stopped) lines.met.insert(ExitCode::BackupIncomplete);
    if (entries.failed + ipSettings.failed > 0) lines.met.insert(ExitCode::DeletionFailed);
    if (incomplete > 0) lines.met.insert(ExitCode::DoneWithIncompleteBackup);
    return lines;
}

DeletionLines DescribeDryRun(const DeletionPlan& plan, const AnsiCodec& codec) {
    DeletionLines lines;
    for (const PlannedEntry& entry : plan.entries) {
        lines.out += "would delete\t" + codec.ToUtf8(entry.key) + "\n";
        for (const AnsiText& key : entry.ipSettings) lines.out += "would delete ip settings\t" + codec.ToUtf8(key) + "\n";
        AddKept(lines, entry, codec);
    }
    lines.err += std::to_string(plan.entries.size()) + " to delete; dry run, nothing written or deleted\n";
    return lines;
}

}  // namespace tarvex

#include "core/deletion_lines.h"

#include "core/backup_warning.h"
#include "util/powershell_quoted.h"

#include <algorithm>

namespace tarvex {

namespace {

struct Counts {
    std::size_t done = 0;
    std::size_t failed = 0;
    std::size_t kept = 0;
    std::size_t left = 0;
};

Utf8Text CountsText(const char* what, const Counts& counts, const char* done) {
    Utf8Text text = std::string("; ") + what + ": " + std::to_string(counts.done) + " " + done + ", " +
                    std::to_string(counts.failed) + " failed, " + std::to_string(counts.kept) + " kept";
    if (counts.left > 0) text += ", " + std::to_string(counts.left) + " left";
    return text;
}

bool IsEntry(ItemKind kind) { return kind == ItemKind::Entry || kind == ItemKind::Profile; }
bool IsKeyAfter(ItemKind kind) { return kind == ItemKind::IpSettings || kind == ItemKind::Signature; }

// " ip settings", " signature", " device", or nothing for an entry or a profile.
std::string KindWords(ItemKind kind) {
    switch (kind) {
        case ItemKind::IpSettings: return " ip settings";
        case ItemKind::Signature: return " signature";
        case ItemKind::Device: return " device";
        case ItemKind::Entry:
        case ItemKind::Profile: break;
    }
    return "";
}

// The lines of a run that went (or, in a dry run, would go) as the outcomes say.
class Lines {
public:
    Lines(const AnsiCodec& codec, bool dryRun) : codec_(codec), dryRun_(dryRun) { lines.dryRun = dryRun; }

    void Add(const Outcome& outcome) {
        const Utf8Text what = codec_.ToUtf8(outcome.what);
        const bool device = outcome.kind == ItemKind::Device;
        if (IsKeyAfter(outcome.kind)) settingsWords = outcome.kind == ItemKind::Signature ? "signatures" : "ip settings";
        Counts& counts = IsEntry(outcome.kind) ? entries : device ? devices : settings;
        switch (outcome.fate) {
            case Fate::Deleted:
            case Fate::Uninstalled:
                ++counts.done;
                lines.out += std::string(device ? (dryRun_ ? "would uninstall" : "uninstalled")
                                                : (dryRun_ ? "would delete" : "deleted")) +
                             (IsKeyAfter(outcome.kind) ? KindWords(outcome.kind) : "") + "\t" + what + "\n";
                Incomplete(outcome, what);
                for (const AnsiText& key : outcome.removedWithDevice) {
                    const Utf8Text path = codec_.ToUtf8(key);
                    lines.out += "removed with device\t" + path + "\n";
                    ++removed;
                    Incomplete(outcome, path);
                }
                break;
            case Fate::Kept:
                ++counts.kept;
                lines.details.push_back("kept" + KindWords(outcome.kind) + "\t" + what + "\t" + KeptText(outcome));
                break;
            case Fate::Failed:
                ++counts.failed;
                lines.details.push_back(device ? "tarvex: could not uninstall " + what + ": " + FailureText(outcome.error)
                                               : "tarvex: could not delete" + KindWords(outcome.kind) + " " + what);
                break;
            case Fate::Left:
                ++counts.left;
                lines.details.push_back("left" + KindWords(outcome.kind) + "\t" + what);
                break;
        }
    }

    DeletionLines lines;
    Counts entries;
    Counts settings;
    Counts devices;
    const char* settingsWords = "ip settings";
    std::size_t removed = 0;
    std::size_t incomplete = 0;

private:
    void Incomplete(const Outcome& outcome, const Utf8Text& path) {
        if (!outcome.backupIncomplete) return;
        ++incomplete;
        lines.details.push_back("tarvex: deleted with an incomplete backup: " + path);
    }

    const AnsiCodec& codec_;
    bool dryRun_;
};

// Profiles live under HKLM\SOFTWARE, which a 32-bit host's reg.exe would import into WOW6432Node.
Utf8Text RestoreCommand(const DeletionPlan& plan, const Utf8Text& file) {
    const bool profiles = std::any_of(plan.entries.begin(), plan.entries.end(),
                                      [](const PlannedEntry& entry) { return entry.kind == ItemKind::Profile; });
    return "reg import " + PowerShellQuoted(file) + (profiles ? " /reg:64" : "");
}

Utf8Text HandOverLine(const char* done, const HandOverPlan& plan, const AnsiCodec& codec) {
    return std::string(done) + "\t" + codec.ToUtf8(plan.ghost.interfacesKey) + "\t" +
           codec.ToUtf8(plan.successor.interfacesKey) + "\t" + codec.ToUtf8(SettingsText(plan.settings)) + "\n";
}

// Nothing handed over is a failure only where a selected ghost had static
// settings that no present adapter has yet.
void NothingHandedOver(DeletionLines& lines, const HandOverPlan& plan, const Utf8Text& reason, const char* what) {
    if (!HandOverRequired(plan)) {
        lines.after.push_back("tarvex: nothing to hand over: " + reason);
        return;
    }
    const Utf8Text advice = plan.qualified > 1 ? "; name one with --hand-over-to GUID" : "";
    lines.after.push_back(std::string("tarvex: ") + what + ": " + reason + advice);
    lines.met.insert(ExitCode::HandOverFailed);
}

void DescribeHandOver(DeletionLines& lines, const HandOverPlan& plan, const HandOverResult& result,
                      const AnsiCodec& codec) {
    const Utf8Text undo = result.undoFile ? "reg import " + PowerShellQuoted(*result.undoFile) : Utf8Text();
    if (result.partial) {
        lines.after.push_back("tarvex: the hand-over to " + Named(plan.successor) +
                              " is half written and could not be put back: " + result.reason +
                              "; to give the adapter back its values, in PowerShell: " + undo + ", then restart");
        lines.met.insert(ExitCode::HandOverPartial);
        return;
    }
    if (!result.done) {
        NothingHandedOver(lines, plan, result.reason, "nothing handed over");
        if (result.undoFile) lines.after.push_back("tarvex: should the new adapter still differ, in PowerShell: " + undo);
        return;
    }
    lines.out += HandOverLine("handed over", plan, codec);
    if (const std::optional<Utf8Text> rename = RenameCommand(plan)) {
        lines.after.push_back("tarvex: the connection name '" + *plan.freeName + "' is free now; to give it to the " +
                              "adapter that took the settings, in PowerShell: " + *rename);
    } else {
        lines.after.push_back("tarvex: the connection name '" + plan.ghost.connection + "' is free now, but " +
                              plan.whyNoFreeName + ", so no command to take it is given");
    }
    lines.after.push_back("tarvex: it takes effect when Windows restarts; to undo it, in PowerShell: " + undo + ", then restart");
}

Utf8Text RestartLine(const DeletionReport& report) {
    const bool handedOver = report.handOver && report.handOver->done;
    return std::string("tarvex: Windows asks for a restart to finish ") +
           (report.restartNeeded ? (handedOver ? "the uninstall and the hand-over" : "the uninstall") : "the hand-over");
}

// "A, B, C" for the first ten, then "and N more".
Utf8Text FirstTen(const std::vector<Utf8Text>& names) {
    constexpr std::size_t kNamed = 10;
    Utf8Text text;
    for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
    return text;
}

}  // namespace

std::vector<Utf8Text> Distinct(const std::vector<Utf8Text>& names) {
    std::vector<Utf8Text> distinct;
    for (const Utf8Text& name : names) {
        if (std::find(distinct.begin(), distinct.end(), name) == distinct.end()) distinct.push_back(name);
    }
    return distinct;
}

std::vector<Utf8Text> MessageLines(const DeletionLines& lines) {
    std::vector<Utf8Text> messages = lines.details;
    messages.push_back(lines.counts);
    Utf8Text named = std::string(lines.dryRun ? "would delete: " : "deleted: ") +
                     (lines.names.empty() ? Utf8Text("nothing") : FirstTen(lines.names));
    named += lines.backups.empty() ? std::string(lines.dryRun ? "; would write no backup" : "; no backup written")
                                   : std::string(lines.dryRun ? "; would write: " : "; backups: ") + FirstTen(lines.backups);
    messages.push_back(named);
    if (!lines.restore.empty()) messages.push_back(lines.restore);
    messages.insert(messages.end(), lines.after.begin(), lines.after.end());
    return messages;
}

void AddToSummary(SummaryLine& summary, const DeletionLines& lines) {
    summary.Add(lines.counts);
    summary.AddList(lines.dryRun ? "would delete" : "deleted", lines.names);
    summary.AddList(lines.dryRun ? "would write" : "backups", lines.backups);
    summary.Add(WithoutProgramName(lines.restore));
    for (const Utf8Text& line : lines.after) summary.Add(WithoutProgramName(line));
    std::vector<Utf8Text> details;
    for (const Utf8Text& line : lines.details) details.push_back(WithoutProgramName(line));
    summary.AddList("", details, "; ");
}

DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report,
                               const std::vector<Utf8Text>& names, const AnsiCodec& codec,
                               const std::string& stopReason) {
    Lines described(codec, false);
    std::vector<Utf8Text> deleted;
    for (const Outcome& outcome : report.outcomes) {
        described.Add(outcome);
        if (IsEntry(outcome.kind) && outcome.fate == Fate::Deleted && outcome.entry < names.size()) {
            deleted.push_back(names[outcome.entry]);
        }
    }
    DeletionLines& lines = described.lines;
    lines.names = Distinct(deleted);
    lines.backups = report.backups;
    if (report.runFile) {
        lines.restore = "tarvex: to undo this run, in PowerShell: " + RestoreCommand(plan, *report.runFile);
        for (const AnsiText& key : report.leftToRunFile) {
            lines.details.push_back("tarvex: " + codec.ToUtf8(key) + " is not in " + kSmallBackupFile +
                                    ", which cannot hold its names or texts exactly; " + *report.runFile + " holds it");
        }
    }
    const Counts& entries = described.entries;
    std::string summary = std::to_string(entries.done) + " deleted, " + std::to_string(entries.failed) + " failed";
    if (entries.kept > 0) summary += ", " + std::to_string(entries.kept) + " kept";
    const Counts& settings = described.settings;
    if (settings.done + settings.failed + settings.kept + settings.left > 0) {
        summary += CountsText(described.settingsWords, settings, "deleted");
    }
    const Counts& devices = described.devices;
    if (devices.done + devices.failed + devices.kept + devices.left > 0) {
        summary += CountsText("devices", devices, "uninstalled");
        if (described.removed > 0) summary += ", " + std::to_string(described.removed) + " keys removed with them";
    }
    if (described.incomplete > 0) summary += ", " + std::to_string(described.incomplete) + " with an incomplete backup";
    if (report.stopped) summary += ", " + std::to_string(entries.left) + " left: " + stopReason;
    lines.counts = summary;
    if (plan.handOver && report.handOver) DescribeHandOver(lines, *plan.handOver, *report.handOver, codec);
    if (RestartNeeded(report)) lines.after.push_back(RestartLine(report));
    if (report.stopped) lines.met.insert(ExitCode::BackupIncomplete);
    if (entries.failed + settings.failed + devices.failed > 0) lines.met.insert(ExitCode::DeletionFailed);
    if (described.incomplete > 0) lines.met.insert(ExitCode::DoneWithIncompleteBackup);
    if (RestartNeeded(report)) lines.met.insert(ExitCode::RestartNeeded);
    return lines;
}

DeletionLines DescribeDryRun(const DeletionPlan& plan, const std::vector<Utf8Text>& names,
                             const std::vector<Utf8Text>& wouldWrite, const BackupForecast& forecast, bool force,
                             const AnsiCodec& codec) {
    Lines described(codec, true);
    std::vector<Utf8Text> going;
    for (const Outcome& outcome : PlannedOutcomes(plan)) {
        described.Add(outcome);
        if (IsEntry(outcome.kind) && outcome.fate == Fate::Deleted && outcome.entry < names.size()) {
            going.push_back(names[outcome.entry]);
        }
    }
    DeletionLines& lines = described.lines;
    lines.names = Distinct(going);
    lines.backups = wouldWrite;
    if (const std::optional<HandOverPlan>& handOver = plan.handOver) {
        if (const std::optional<Utf8Text> why = WhyNotPaired(*handOver)) {
            NothingHandedOver(lines, *handOver, *why, "nothing would be handed over");
        } else {
            lines.out += HandOverLine("would hand over", *handOver, codec);
        }
    }
    for (const AnsiText& key : forecast.leftToRunFile) {
        lines.details.push_back("tarvex: " + codec.ToUtf8(key) + " would not be in " + kSmallBackupFile +
                                ", which cannot hold its names or texts exactly; the run's own file would hold it");
    }
    Utf8Text stop;
    if (!forecast.runFileWhole) stop = "the run's own backup would not hold every key whole";
    if (forecast.incomplete) stop = "the backup of " + codec.ToUtf8(*forecast.incomplete) + " would be incomplete";
    if (!stop.empty()) {
        lines.details.push_back("tarvex: " + stop + (force ? "; --force would go on" : "; the run would stop there"));
        lines.met.insert(force ? ExitCode::DoneWithIncompleteBackup : ExitCode::BackupIncomplete);
    }
    const std::size_t kept = described.entries.kept;
    lines.counts = std::to_string(plan.entries.size() - kept) + " to delete" +
                   (kept > 0 ? ", " + std::to_string(kept) + " kept" : "") + "; dry run, nothing written or deleted";
    return lines;
}

}  // namespace tarvex

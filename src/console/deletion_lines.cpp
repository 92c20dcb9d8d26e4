#include "console/deletion_lines.h"

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

// What follows an entry, in the words of what the run deletes.
const char* SettingsWords(DeletionSubject subject) {
    return subject == DeletionSubject::NetworkProfiles ? "signature" : "ip settings";
}

// " ip settings" (or " signature"), " device", or nothing for an entry: after kept, left or could not delete.
std::string KindWords(ItemKind kind, DeletionSubject subject) {
    switch (kind) {
        case ItemKind::IpSettings: return std::string(" ") + SettingsWords(subject);
        case ItemKind::Device: return " device";
        case ItemKind::Entry: break;
    }
    return "";
}

// The lines of a run that went (or, in a dry run, would go) as the outcomes say.
class Lines {
public:
    Lines(const AnsiCodec& codec, bool dryRun, DeletionSubject subject)
        : codec_(codec), dryRun_(dryRun), subject_(subject) {
        lines.dryRun = dryRun;
    }

    void Add(const Outcome& outcome) {
        const Utf8Text what = codec_.ToUtf8(outcome.what);
        const bool device = outcome.kind == ItemKind::Device;
        Counts& counts = outcome.kind == ItemKind::Entry ? entries : device ? devices : settings;
        switch (outcome.fate) {
            case Fate::Deleted:
            case Fate::Uninstalled:
                ++counts.done;
                lines.out += std::string(device ? (dryRun_ ? "would uninstall" : "uninstalled")
                                                : (dryRun_ ? "would delete" : "deleted")) +
                             (outcome.kind == ItemKind::IpSettings ? KindWords(outcome.kind, subject_) : "") + "\t" +
                             what + "\n";
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
                lines.details.push_back(std::string("kept") + KindWords(outcome.kind, subject_) + "\t" + what + "\t" + KeptText(outcome));
                break;
            case Fate::Failed:
                ++counts.failed;
                lines.details.push_back(device ? "tarvex: could not uninstall " + what + ": " + FailureText(outcome.error)
                                               : std::string("tarvex: could not delete ") +
                                                     (outcome.kind == ItemKind::IpSettings ? SettingsWords(subject_) + std::string(" ") : "") + what);
                break;
            case Fate::Left:
                ++counts.left;
                lines.details.push_back(std::string("left") + KindWords(outcome.kind, subject_) + "\t" + what);
                break;
        }
    }

    DeletionLines lines;
    Counts entries;
    Counts settings;
    Counts devices;
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
    DeletionSubject subject_;
};

Utf8Text HandOverLine(const char* done, const HandOverPlan& plan, const AnsiCodec& codec) {
    return std::string(done) + "\t" + codec.ToUtf8(plan.ghost.interfacesKey) + "\t" +
           codec.ToUtf8(plan.successor.interfacesKey) + "\t" + codec.ToUtf8(SettingsText(plan.settings)) + "\n";
}

// Nothing handed over is a failure only where a selected ghost had static settings.
void NothingHandedOver(DeletionLines& lines, const HandOverPlan& plan, const Utf8Text& reason, const char* what) {
    lines.after.push_back(std::string("tarvex: ") + (plan.staticGhost ? what : "nothing to hand over") + ": " + reason);
    if (plan.staticGhost) lines.met.insert(ExitCode::HandOverFailed);
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
                     (lines.connections.empty() ? Utf8Text("nothing") : FirstTen(lines.connections));
    named += lines.backups.empty() ? std::string(lines.dryRun ? "; would write no backup" : "; no backup written")
                                   : std::string(lines.dryRun ? "; would write: " : "; backups: ") + FirstTen(lines.backups);
    messages.push_back(named);
    messages.insert(messages.end(), lines.after.begin(), lines.after.end());
    return messages;
}

void AddToSummary(SummaryLine& summary, const DeletionLines& lines) {
    summary.Add(lines.counts);
    summary.AddList(lines.dryRun ? "would delete" : "deleted", lines.connections);
    summary.AddList(lines.dryRun ? "would write" : "backups", lines.backups);
    for (const Utf8Text& line : lines.after) summary.Add(line);
    summary.AddList("", lines.details, "; ");
}

DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report,
                               const std::vector<Utf8Text>& connections, const AnsiCodec& codec,
                               const std::string& stopReason) {
    Lines described(codec, false, plan.subject);
    std::vector<Utf8Text> deleted;
    for (const Outcome& outcome : report.outcomes) {
        described.Add(outcome);
        if (outcome.kind == ItemKind::Entry && outcome.fate == Fate::Deleted && outcome.entry < connections.size()) {
            deleted.push_back(connections[outcome.entry]);
        }
    }
    DeletionLines& lines = described.lines;
    lines.connections = Distinct(deleted);
    lines.backups = report.backups;
    const Counts& entries = described.entries;
    std::string summary = std::to_string(entries.done) + " deleted, " + std::to_string(entries.failed) + " failed";
    const Counts& settings = described.settings;
    if (settings.done + settings.failed + settings.kept + settings.left > 0) {
        summary += CountsText(plan.subject == DeletionSubject::NetworkProfiles ? "signatures" : "ip settings", settings,
                              "deleted");
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

DeletionLines DescribeDryRun(const DeletionPlan& plan, const std::vector<Utf8Text>& connections,
                             const std::vector<Utf8Text>& wouldWrite, const AnsiCodec& codec) {
    Lines described(codec, true, plan.subject);
    for (const Outcome& outcome : PlannedOutcomes(plan)) described.Add(outcome);
    DeletionLines& lines = described.lines;
    lines.connections = Distinct(connections);
    lines.backups = wouldWrite;
    if (const std::optional<HandOverPlan>& handOver = plan.handOver) {
        if (handOver->refusal) {
            NothingHandedOver(lines, *handOver, *handOver->refusal, "nothing would be handed over");
        } else {
            lines.out += HandOverLine("would hand over", *handOver, codec);
        }
    }
    lines.counts = std::to_string(plan.entries.size()) + " to delete; dry run, nothing written or deleted";
    return lines;
}

}  // namespace tarvex

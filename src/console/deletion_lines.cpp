#include "console/deletion_lines.h"

#include "util/powershell_quoted.h"

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

// " ip settings", " device", or nothing for an entry: after kept, left or could not delete.
const char* KindWords(ItemKind kind) {
    switch (kind) {
        case ItemKind::IpSettings: return " ip settings";
        case ItemKind::Device: return " device";
        case ItemKind::Entry: break;
    }
    return "";
}

// The lines of a run that went (or, in a dry run, would go) as the outcomes say.
class Lines {
public:
    Lines(const AnsiCodec& codec, bool dryRun) : codec_(codec), dryRun_(dryRun) {}

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
                             (outcome.kind == ItemKind::IpSettings ? " ip settings" : "") + "\t" + what + "\n";
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
                lines.err += std::string("kept") + KindWords(outcome.kind) + "\t" + what + "\t" + KeptText(outcome) + "\n";
                break;
            case Fate::Failed:
                ++counts.failed;
                lines.err += device ? "tarvex: could not uninstall " + what + ": " + FailureText(outcome.error) + "\n"
                                    : std::string("tarvex: could not delete ") +
                                          (outcome.kind == ItemKind::IpSettings ? "ip settings " : "") + what + "\n";
                break;
            case Fate::Left:
                ++counts.left;
                lines.err += std::string("left") + KindWords(outcome.kind) + "\t" + what + "\n";
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
        lines.err += "tarvex: deleted with an incomplete backup: " + path + "\n";
    }

    const AnsiCodec& codec_;
    bool dryRun_;
};

Utf8Text HandOverLine(const char* done, const HandOverPlan& plan, const AnsiCodec& codec) {
    return std::string(done) + "\t" + codec.ToUtf8(plan.ghost.interfacesKey) + "\t" +
           codec.ToUtf8(plan.successor.interfacesKey) + "\t" + codec.ToUtf8(SettingsText(plan.settings)) + "\n";
}

// Nothing handed over is a failure only where a selected ghost had static settings.
void NothingHandedOver(DeletionLines& lines, const HandOverPlan& plan, const Utf8Text& reason, const char* what) {
    lines.err += std::string("tarvex: ") + (plan.staticGhost ? what : "nothing to hand over") + ": " + reason + "\n";
    if (plan.staticGhost) lines.met.insert(ExitCode::HandOverFailed);
}

void DescribeHandOver(DeletionLines& lines, const HandOverPlan& plan, const HandOverResult& result,
                      const AnsiCodec& codec) {
    const Utf8Text undo = result.undoFile ? "reg import " + PowerShellQuoted(*result.undoFile) : Utf8Text();
    if (result.partial) {
        lines.err += "tarvex: the hand-over to " + Named(plan.successor) +
                     " is half written and could not be put back: " + result.reason +
                     "; to give the adapter back its values, in PowerShell: " + undo + ", then restart\n";
        lines.met.insert(ExitCode::HandOverPartial);
        return;
    }
    if (!result.done) {
        NothingHandedOver(lines, plan, result.reason, "nothing handed over");
        if (result.undoFile) lines.err += "tarvex: should the new adapter still differ, in PowerShell: " + undo + "\n";
        return;
    }
    lines.out += HandOverLine("handed over", plan, codec);
    if (const std::optional<Utf8Text> rename = RenameCommand(plan)) {
        lines.err += "tarvex: the connection name '" + *plan.freeName + "' is free now; to give it to the adapter "
                     "that took the settings, in PowerShell: " + *rename + "\n";
    } else {
        lines.err += "tarvex: the connection name '" + plan.ghost.connection + "' is free now, but " +
                     plan.whyNoFreeName + ", so no command to take it is given\n";
    }
    lines.err += "tarvex: it takes effect when Windows restarts; to undo it, in PowerShell: " + undo + ", then restart\n";
}

Utf8Text RestartLine(const DeletionReport& report) {
    const bool handedOver = report.handOver && report.handOver->done;
    return std::string("tarvex: Windows asks for a restart to finish ") +
           (report.restartNeeded ? (handedOver ? "the uninstall and the hand-over" : "the uninstall") : "the hand-over") +
           "\n";
}

}  // namespace

DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report, const AnsiCodec& codec,
                               const std::string& stopReason) {
    Lines described(codec, false);
    for (const Outcome& outcome : report.outcomes) described.Add(outcome);
    DeletionLines& lines = described.lines;
    const Counts& entries = described.entries;
    std::string summary = std::to_string(entries.done) + " deleted, " + std::to_string(entries.failed) + " failed";
    const Counts& settings = described.settings;
    if (settings.done + settings.failed + settings.kept + settings.left > 0) {
        summary += CountsText("ip settings", settings, "deleted");
    }
    const Counts& devices = described.devices;
    if (devices.done + devices.failed + devices.kept + devices.left > 0) {
        summary += CountsText("devices", devices, "uninstalled");
        if (described.removed > 0) summary += ", " + std::to_string(described.removed) + " keys removed with them";
    }
    if (described.incomplete > 0) summary += ", " + std::to_string(described.incomplete) + " with an incomplete backup";
    if (report.stopped) summary += ", " + std::to_string(entries.left) + " left: " + stopReason;
    lines.err += summary + "\n";
    if (plan.handOver && report.handOver) DescribeHandOver(lines, *plan.handOver, *report.handOver, codec);
    if (RestartNeeded(report)) lines.err += RestartLine(report);
    if (report.stopped) lines.met.insert(ExitCode::BackupIncomplete);
    if (entries.failed + settings.failed + devices.failed > 0) lines.met.insert(ExitCode::DeletionFailed);
    if (described.incomplete > 0) lines.met.insert(ExitCode::DoneWithIncompleteBackup);
    if (RestartNeeded(report)) lines.met.insert(ExitCode::RestartNeeded);
    return lines;
}

DeletionLines DescribeDryRun(const DeletionPlan& plan, const AnsiCodec& codec) {
    Lines described(codec, true);
    for (const Outcome& outcome : PlannedOutcomes(plan)) described.Add(outcome);
    if (const std::optional<HandOverPlan>& handOver = plan.handOver) {
        if (handOver->refusal) {
            NothingHandedOver(described.lines, *handOver, *handOver->refusal, "nothing would be handed over");
        } else {
            described.lines.out += HandOverLine("would hand over", *handOver, codec);
        }
    }
    described.lines.err += std::to_string(plan.entries.size()) + " to delete; dry run, nothing written or deleted\n";
    return described.lines;
}

}  // namespace tarvex

#include "console/deletion_lines.h"

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

}  // namespace

DeletionLines DescribeDeletion(const DeletionReport& report, const AnsiCodec& codec, const std::string& stopReason) {
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
    if (report.restartNeeded) lines.err += "tarvex: Windows asks for a restart to finish the uninstall\n";
    if (report.stopped) lines.met.insert(ExitCode::BackupIncomplete);
    if (entries.failed + settings.failed + devices.failed > 0) lines.met.insert(ExitCode::DeletionFailed);
    if (described.incomplete > 0) lines.met.insert(ExitCode::DoneWithIncompleteBackup);
    if (report.restartNeeded) lines.met.insert(ExitCode::RestartNeeded);
    return lines;
}

DeletionLines DescribeDryRun(const DeletionPlan& plan, const AnsiCodec& codec) {
    Lines described(codec, true);
    for (const Outcome& outcome : PlannedOutcomes(plan)) described.Add(outcome);
    described.lines.err += std::to_string(plan.entries.size()) + " to delete; dry run, nothing written or deleted\n";
    return described.lines;
}

}  // namespace tarvex

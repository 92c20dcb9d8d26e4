#include "console/deletion_lines.h"

namespace tarvex {

namespace {

// Kept settings are no failure; they are named, each key with its reason.
void AddKeptSettings(DeletionLines& lines, const PlannedEntry& entry, const AnsiCodec& codec) {
    for (const AnsiText& key : entry.keptIpSettings) {
        lines.err += "kept ip settings\t" + codec.ToUtf8(key) + "\t" + KeptReasonText(entry.keptReason) + "\n";
    }
}

void AddKeptDevice(DeletionLines& lines, const PlannedDevice& device, KeptReason reason, const AnsiCodec& codec) {
    lines.err += "kept device\t" + codec.ToUtf8(device.instanceId) + "\t" + KeptReasonText(reason) + "\n";
}

struct Counts {
    std::size_t deleted = 0;
    std::size_t failed = 0;
    std::size_t kept = 0;
};

Utf8Text CountsText(const char* what, const Counts& counts, const char* done) {
    return std::string("; ") + what + ": " + std::to_string(counts.deleted) + " " + done + ", " +
           std::to_string(counts.failed) + " failed, " + std::to_string(counts.kept) + " kept";
}

// The lines of the devices reached after one entry.
class DeviceLines {
public:
    DeviceLines(const DeletionReport& report, const AnsiCodec& codec, DeletionLines& lines)
        : report_(report), codec_(codec), lines_(lines) {}

    void After(std::size_t entry) {
        for (; next_ < report_.devices.size() && report_.devices[next_].entry <= entry; ++next_) {
            const DeviceResult& result = report_.devices[next_];
            const Utf8Text id = codec_.ToUtf8(result.device.instanceId);
            switch (result.outcome) {
                case DeviceOutcome::Uninstalled:
                    ++counts.deleted;
                    lines_.out += "uninstalled\t" + id + "\n";
                    break;
                case DeviceOutcome::Kept:
                    ++counts.kept;
                    AddKeptDevice(lines_, result.device, result.keptReason, codec_);
                    break;
                case DeviceOutcome::Failed:
                    ++counts.failed;
                    lines_.err += "tarvex: could not uninstall " + id + ": " + FailureText(result.error) + "\n";
                    break;
            }
        }
    }

    Counts counts;

private:
    const DeletionReport& report_;
    const AnsiCodec& codec_;
    DeletionLines& lines_;
    std::size_t next_ = 0;
};

}  // namespace

DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report, const AnsiCodec& codec,
                               const std::string& stopReason) {
    DeletionLines lines;
    DeviceLines devices(report, codec, lines);
    Counts entries;
    Counts ipSettings;
    std::size_t incomplete = 0;
    for (std::size_t i = 0; i < report.keys.size(); ++i) {
        const DeletedKey& key = report.keys[i];
        const bool entry = key.kind == KeyKind::Entry;
        const Utf8Text path = codec.ToUtf8(key.key);
        Counts& counts = entry ? entries : ipSettings;
        if (key.outcome != KeyOutcome::Deleted) {
            ++counts.failed;
            lines.err += std::string("tarvex: could not delete ") + (entry ? "" : "ip settings ") + path + "\n";
        } else {
            ++counts.deleted;
            lines.out += std::string(entry ? "deleted\t" : "deleted ip settings\t") + path + "\n";
            if (key.backupIncomplete) {
                ++incomplete;
                lines.err += "tarvex: deleted with an incomplete backup: " + path + "\n";
            }
            if (entry) {
                AddKeptSettings(lines, plan.entries[key.entry], codec);
                ipSettings.kept += plan.entries[key.entry].keptIpSettings.size();
            }
        }
        if (i + 1 == report.keys.size() || report.keys[i + 1].entry != key.entry) devices.After(key.entry);
    }
    for (const KeptDevice& kept : plan.keptDevices) AddKeptDevice(lines, kept.device, kept.reason, codec);
    devices.counts.kept += plan.keptDevices.size();

    std::string summary = std::to_string(entries.deleted) + " deleted, " + std::to_string(entries.failed) + " failed";
    if (ipSettings.deleted + ipSettings.failed + ipSettings.kept > 0) summary += CountsText("ip settings", ipSettings, "deleted");
    const Counts& uninstalls = devices.counts;
    if (uninstalls.deleted + uninstalls.failed + uninstalls.kept > 0) summary += CountsText("devices", uninstalls, "uninstalled");
    if (incomplete > 0) summary += ", " + std::to_string(incomplete) + " with an incomplete backup";
    if (report.stopped) {
        summary += ", " + std::to_string(plan.entries.size() - entries.deleted - entries.failed) +
                   " left: " + stopReason;
    }
    lines.err += summary + "\n";
    if (report.restartNeeded) lines.err += "tarvex: Windows asks for a restart to finish the uninstall\n";
    if (report.stopped) lines.met.insert(ExitCode::BackupIncomplete);
    if (entries.failed + ipSettings.failed + uninstalls.failed > 0) lines.met.insert(ExitCode::DeletionFailed);
    if (incomplete > 0) lines.met.insert(ExitCode::DoneWithIncompleteBackup);
    if (report.restartNeeded) lines.met.insert(ExitCode::RestartNeeded);
    return lines;
}

DeletionLines DescribeDryRun(const DeletionPlan& plan, const AnsiCodec& codec) {
    DeletionLines lines;
    std::vector<bool> named(plan.devices.size());
    for (const PlannedEntry& entry : plan.entries) {
        lines.out += "would delete\t" + codec.ToUtf8(entry.key) + "\n";
        for (const AnsiText& key : entry.ipSettings) lines.out += "would delete ip settings\t" + codec.ToUtf8(key) + "\n";
        if (entry.device && !named[*entry.device]) {
            named[*entry.device] = true;
            lines.out += "would uninstall\t" + codec.ToUtf8(plan.devices[*entry.device].instanceId) + "\n";
        }
        AddKeptSettings(lines, entry, codec);
    }
    for (const KeptDevice& kept : plan.keptDevices) AddKeptDevice(lines, kept.device, kept.reason, codec);
    lines.err += std::to_string(plan.entries.size()) + " to delete; dry run, nothing written or deleted\n";
    return lines;
}

}  // namespace tarvex

#include "window/deletion.h"

#include "core/connection_deletion.h"
#include "core/deletion_lines.h"
#include "core/deletion_steps.h"
#include "core/exit_codes.h"
#include "core/run_record.h"
#include "core/summary_line.h"
#include "core/hand_over.h"
#include "window/deletion_summary.h"
#include "window/fill_connection_list.h"

namespace tarvex {

namespace {

// The two boxes of the backup warning; the user chooses.
class AskingWarning final : public BackupWarning {
public:
    explicit AskingWarning(MessageBoxes& messages) : messages_(messages) {}
    bool GoOnWithoutFullBackup(const BackupProblem&) override {
        messages_.Show(kBackupErrorText, MessageIcon::Critical, MessageButtons::Ok);
        return messages_.Show(kContinueText, MessageIcon::None, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
    void KeptAside(const BackupProblem& problem) override {
        messages_.Show(kKeptAsideText + problem.file + "." + (problem.lasting ? "" : kMoveDraftText),
                       MessageIcon::Critical, MessageButtons::Ok);
    }

private:
    MessageBoxes& messages_;
};

// "Backup ALL" goes before "Backup ONLY": with both ticked only the full backup is taken.
BackupMode ModeOfTheBoxes(const DeletionChoices& checks) {
    if (checks.chkBackup()) return BackupMode::Full;
    return checks.chkSelective() ? BackupMode::Selective : BackupMode::None;
}

// The ticked rows' keys and their connections' names, in list order.
struct TickedRows {
    std::vector<AnsiText> keys;
    std::vector<Utf8Text> names;
};

TickedRows Ticked(const ConnectionList& list, const AnsiCodec& codec) {
    TickedRows ticked;
    const int rowCount = list.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (!list.IsChecked(row)) continue;
        ticked.keys.push_back(list.RowText(row));
        ticked.names.push_back(codec.ToUtf8(list.RowSubItem(row)));
    }
    return ticked;
}

// The outcome's event for a run that changed something, with the line the
// console's --format summary would give the same run.
std::optional<Utf8Text> RecordTheEnd(RunRecord& record, const DeletionPlan& plan, const DeletionReport& report,
                                     const std::vector<Utf8Text>& names, const AnsiCodec& codec) {
    const DeletionLines lines =
        DescribeDeletion(plan, report, names, codec, report.stopped ? "the backup warning was answered No" : "");
    SummaryLine summary;
    AddToSummary(summary, lines);
    record.Ended(WinningExitCode(lines.met, ExitCode::Done), summary);
    return record.Failure();
}

Utf8Text Side(const HandOverSide& side) {
    return side.connection + " (" + (side.device.empty() ? Utf8Text("no device") : side.device) + ")";
}

// Each question once, before anything is written; No is the default of each.
class AskingQuestions final : public DeletionQuestions {
public:
    AskingQuestions(MessageBoxes& messages, BackupMode mode) : messages_(messages), mode_(mode) {}

    bool DeleteWithoutHandOver(const HandOverPlan& handOver) override {
        return Asked(NoHandOverQuestion(handOver, mode_));
    }
    // No backup brings an uninstalled device back.
    bool Uninstall(const DeletionPlan& plan) override { return Asked(UninstallQuestion(plan.devices.size())); }
    // It changes a present adapter.
    bool HandOver(const HandOverPlan& handOver) override { return Asked(HandOverQuestion(handOver)); }

private:
    bool Asked(const Utf8Text& question) {
        return messages_.Show(question, MessageIcon::Warning, MessageButtons::YesNoDefaultNo) == MessageAnswer::Yes;
    }

    MessageBoxes& messages_;
    BackupMode mode_;
};

}  // namespace

Utf8Text HandOverQuestion(const HandOverPlan& plan) {
    const Ipv4Settings& settings = plan.settings;
    Utf8Text text = "The gone adapter " + Side(plan.ghost) + " has static IPv4 settings:\nAddress: " + Ipv4Text(settings) +
                    "\nMask: " + JoinTexts(settings.subnetMasks, ", ") + "\nGateway: " + JoinTexts(settings.gateways, ", ") +
                    "\nDNS servers: " + JoinTexts(settings.dnsServers, ", ") + "\n\nHand them over to " +
                    Side(plan.successor) + ", which replaced it? ";
    text += plan.successorLease.empty() ? "It has no address from DHCP now."
                                        : "It has " + plan.successorLease + " from DHCP now.";
    return text + "\n\nThe settings take effect when Windows restarts. An undo file is written first.";
}

Utf8Text NoHandOverQuestion(const HandOverPlan& plan, BackupMode mode) {
    const bool one = plan.staticGhosts.size() == 1;
    Utf8Text text = one ? "The gone adapter " + Side(plan.staticGhosts[0].side) + " has static IPv4 settings:\n"
                        : Utf8Text("The gone adapters have static IPv4 settings:\n");
    std::vector<Utf8Text> names;
    for (const StaticGhost& ghost : plan.staticGhosts) {
        if (!one) text += Side(ghost.side) + ": ";
        text += SettingsText(ghost.settings) + "\n";
        names.push_back(ghost.side.connection);
    }
    const bool adapters = plan.qualified == 0 && !plan.considered.empty();
    text += "\nThey cannot be handed over: " + plan.refusal.value_or("") + (adapters ? ":" : ".");
    if (adapters) {
        for (const Utf8Text& adapter : plan.considered) text += "\n" + adapter;
    }
    switch (mode) {
        case BackupMode::Selective: text += "\n\nSmallBackup.reg will hold them."; break;
        case BackupMode::Full: text += "\n\nLargeBackup.reg will hold them."; break;
        case BackupMode::None: text += "\n\nNo backup will hold them."; break;
    }
    return text + "\n\nDelete them as ticked? No keeps " + JoinTexts(names, ", ") +
           " whole, with its entries, IP settings and adapter, and deletes the other ticked rows.";
}

Utf8Text UninstallQuestion(std::size_t devices) {
    return (devices == 1 ? Utf8Text("1 absent adapter will be uninstalled.")
                         : std::to_string(devices) + " absent adapters will be uninstalled.") +
           " No backup can bring an uninstalled adapter back: connected again, it is installed as a new "
           "adapter.\n\nUninstall and delete?";
}

void DeleteTickedConnections(const Services& services, const DeletionControls& controls, const Utf8Text& appFolder) {
    AskingWarning warning(controls.messages);
    const BackupMode mode = ModeOfTheBoxes(controls.checks);
    const bool ipSettings = controls.checks.chkIpSettings();
    DeletionAsks asks{ipSettings, controls.checks.chkUninstall()};
    if (ipSettings) asks.handOver.ask = HandOverAsk::Automatic;
    const TickedRows ticked = Ticked(controls.LV1, services.codec);
    DeletionPlan plan = PlanDeletion(services, ticked.keys, asks);
    AskingQuestions questions(controls.messages, mode);
    switch (PrepareDeletion(services, plan, questions, appFolder, false)) {
        case Readiness::Ready: break;
        case Readiness::Declined: return;
        case Readiness::NoUndoFile:
            controls.messages.Show(kNoUndoFileText, MessageIcon::Critical, MessageButtons::Ok);
            return;
    }
    RunRecord record(services.events, Utf8Text("the window"));
    const DeletionReport report = DeleteAsPlanned(services, plan, mode, warning, appFolder, Regedit4Loss::Warned, &record);
    const std::optional<Utf8Text> notRecorded = RecordTheEnd(record, plan, report, ticked.names, services.codec);
    // A stop keeps the list as it is; otherwise a failed deletion shows up again in the rescan.
    if (!report.stopped) {
        controls.pump.DoEvents();
        FillConnectionList(services, controls.LV1, controls.messages);
    }
    if (const std::optional<DeletionSummary> summary = SummarizeDeletion(plan, report, notRecorded)) {
        controls.messages.Show(summary->text, summary->icon, MessageButtons::Ok);
    }
}

}  // namespace tarvex

#include "console/console_session.h"

#include "console/answer_given_in_advance.h"
#include "core/admin_rights.h"
#include "core/app_folder.h"
#include "core/backup_target.h"
#include "core/backup_forecast.h"
#include "core/connection_deletion.h"
#include "core/dated_file_name.h"
#include "core/deletion_steps.h"
#include "core/hand_over.h"
#include "core/network_paths.h"
#include "core/run_file.h"

namespace tarvex {

namespace {

// The backups a dry run's real run would write.
std::vector<Utf8Text> WouldWrite(const DeleteCommand& command, const DeletionPlan& plan, const Utf8Text& folder) {
    std::vector<Utf8Text> files;
    if (command.backup != BackupMode::None) files.push_back(DatedFilePattern(folder, kRunFileStem));
    if (command.backup == BackupMode::Selective) files.push_back(folder + kSmallBackupFile);
    if (command.backup == BackupMode::Full) files.push_back(folder + kLargeBackupFile);
    if (plan.handOver && Paired(*plan.handOver)) files.push_back(UndoFilePattern(folder));
    return files;
}

// Unattended: a hand-over asked for on the command line is agreed to, and so
// is an uninstall; a ghost whose static settings no adapter can take is kept
// whole, so that the same command, run again once the cause is mended, hands it over.
class AnsweredByTheCommandLine final : public DeletionQuestions {
public:
    bool DeleteWithoutHandOver(const HandOverPlan&) override { return false; }
    bool Uninstall(const DeletionPlan&) override { return true; }
    bool HandOver(const HandOverPlan&) override { return true; }
};

}  // namespace

void ConsoleSession::Begin(const ConsoleCommand& command) {
    OutputFormat format = OutputFormat::Tsv;
    if (const auto* list = std::get_if<ListCommand>(&command)) format = list->format;
    if (const auto* check = std::get_if<CheckCommand>(&command)) format = check->format;
    if (const auto* remove = std::get_if<DeleteCommand>(&command)) {
        format = remove->format;
        jsonReport_ = format == OutputFormat::Json;
        record_.dryRun = remove->dryRun;
        record_.handOverAsked = remove->handOver.ask != HandOverAsk::None;
        if (remove->eventLog) events_.emplace(services_.events);
    }
    if (format != OutputFormat::Summary) return;
    summaryFormat_ = true;
    messages_.HoldForSummary();
}

void ConsoleSession::Listed(const Utf8Text& count, const std::vector<Utf8Text>& names, const Utf8Text& printed) {
    summary_.AddCount(count, names);
    if (!summaryFormat_) Out(printed);
}

void ConsoleSession::Out(const Utf8Text& text) {
    if (outputClosed_) return;
    const OutputWrite write = output_.Out(WithCrLf(text));
    if (write.result == WriteResult::ReaderGone) outputClosed_ = true;
    if (write.result != WriteResult::Failed) return;
    outputClosed_ = true;
    met_.insert(ExitCode::Unfinished);
    // Standard output is gone, and with it the summary line: the error stream is all that is left.
    output_.Err("tarvex: could not write to standard output: " + write.errorText + " (error " +
                std::to_string(write.error) + ")\r\n");
}

ExitCode ConsoleSession::Usage(const UsageError& error) {
    const Utf8Text help = error.command.empty() ? "tarvex help" : "tarvex help " + error.command;
    output_.Err("tarvex: " + error.message + "\r\nType \"" + help + "\" for usage.\r\n");
    return ExitCode::Usage;
}

void ConsoleSession::Failed(const std::string& what) {
    messages_.Say("tarvex: failed while " + phase_ + ": " + what);
    met_.insert(ExitCode::Unfinished);
}

bool ConsoleSession::HasAdminRights() {
    const Status status = CheckAdminRights(services_.registry);
    if (status == kSuccess) return true;
    messages_.Say("tarvex: needs administrator rights: opening HKLM\\" + std::string(kNetworkPaths[0]) +
                 " for writing gave status " + std::to_string(status));
    return false;
}

// As the system names it, so that the reports give the path a restore needs.
Utf8Text ConsoleSession::BackupFolder(const DeleteCommand& command) const {
    return MakeAppFolder(command.backupFolder ? services_.files.FullPathOf(*command.backupFolder) : programFolder_);
}

// A hand-over writes its undo file there even with --backup none.
std::optional<ExitCode> ConsoleSession::CheckBackupFolder(const DeleteCommand& command) {
    const bool writes = command.backup != BackupMode::None || command.handOver.ask != HandOverAsk::None;
    if (!writes && !command.backupFolder) return std::nullopt;
    phase_ = "checking the backup folder";
    const Utf8Text& folder = command.backupFolder.value_or(programFolder_);
    switch (BackupFolderKind(services_.files, BackupFolder(command))) {
        case PathKind::Missing: return Usage("the backup folder does not exist: " + folder, "delete");
        case PathKind::File: return Usage("the backup folder is not a folder: " + folder, "delete");
        case PathKind::Folder: break;
    }
    return std::nullopt;
}

ExitCode ConsoleSession::CarryOut(const DeleteCommand& command, const std::vector<Utf8Text>& names,
                                  const Services& deleting, const std::function<DeletionPlan()>& plan) {
    // Nothing to delete needs no backup: a full one would replace the last.
    if (names.empty()) {
        messages_.Say(command.dryRun ? "0 to delete; dry run, nothing written or deleted" : "0 to delete");
        return ExitCode::Done;
    }
    const Utf8Text folder = BackupFolder(command);
    phase_ = "checking the backup file";
    if (!CanWriteBackup(deleting.files, folder, command.backup)) {
        messages_.Say("tarvex: cannot write the backup file " + FirstBackupFile(folder, command.backup) +
                      "; nothing deleted");
        return ExitCode::BackupIncomplete;
    }
    record_.names = names;
    phase_ = "planning the deletion";
    DeletionPlan& planned = record_.plan.emplace(plan());
    AnsweredByTheCommandLine questions;
    if (PrepareDeletion(deleting, planned, questions, folder, command.dryRun) == Readiness::NoUndoFile) {
        record_.stopReason = "the hand-over's undo file cannot be created in " + folder;
        messages_.Say("tarvex: cannot create the hand-over's undo file in " + folder + "; nothing deleted");
        return ExitCode::BackupIncomplete;
    }
    if (command.dryRun) {
        phase_ = "making the backups in memory";
        const BackupForecast forecast = ForecastBackups(deleting, planned, command.backup);
        return Say(DescribeDryRun(planned, names, WouldWrite(command, planned, folder), forecast, command.force,
                                  deleting.codec));
    }
    AnswerGivenInAdvance warning(command.force, messages_);
    phase_ = "deleting";
    const DeletionReport& report = record_.report.emplace(DeleteAsPlanned(
        deleting, planned, command.backup, warning, folder, Regedit4Loss::LeftToRunFile, events_ ? &*events_ : nullptr));
    phase_ = "reporting the deletion";
    record_.stopReason = warning.stopReason();
    return Say(DescribeDeletion(planned, report, names, deleting.codec, record_.stopReason));
}

// The lines, unless the JSON report or the summary line stands in their place.
ExitCode ConsoleSession::Say(const DeletionLines& lines) {
    AddToSummary(summary_, lines);
    if (!summaryFormat_) {
        if (!jsonReport_) Out(lines.out);
        for (const Utf8Text& line : MessageLines(lines)) messages_.Tell(line);
    }
    met_.insert(lines.met.begin(), lines.met.end());
    return ExitCode::Done;
}

// The same line --format summary prints, whatever the format; a log that
// cannot be written is named in it and on the error stream, and changes no code.
void ConsoleSession::RecordTheEnd(ExitCode code) {
    if (!events_) return;
    events_->Ended(code, summary_);
    if (const std::optional<Utf8Text> failure = events_->Failure()) messages_.Tell("tarvex: " + *failure);
}

// A fleet tool reads the JSON report of every delete run whose arguments
// were read, or its one summary line, whatever ended it.
ExitCode ConsoleSession::Finish(ExitCode result) {
    const ExitCode code = WinningExitCode(met_, result);
    if (code == ExitCode::Usage) return code;
    summary_.AddList("", messages_.held(), "; ");
    RecordTheEnd(code);
    if (!jsonReport_ && !summaryFormat_) return code;
    phase_ = "writing the report";
    try {
        if (summaryFormat_) {
            Out(summary_.Text());
        } else {
            Out(DeletionJson(record_, services_.codec, code));
        }
    } catch (const std::exception& failure) {
        Failed(failure.what());
    }
    return WinningExitCode(met_, result);
}

}  // namespace tarvex

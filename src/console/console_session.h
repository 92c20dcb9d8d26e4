#pragma once

#include "console/console_arguments.h"
#include "console/console_messages.h"
#include "console/deletion_json.h"
#include "core/deletion_lines.h"
#include "core/exit_codes.h"
#include "core/summary_line.h"
#include "core/deletion_plan.h"
#include "core/device_query.h"
#include "core/run_record.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarvex {

// What every command of one run shares: where its output and messages go
// (the summary line or the JSON report standing in for them), the outcomes
// its exit code weighs, and the deletion every delete ends in.
class ConsoleSession {
public:
    ConsoleSession(const Services& services, ConsoleOutput& output, const Utf8Text& programFolder)
        : services_(services), messages_(output), output_(output), programFolder_(programFolder) {}

    // Sets the run up for the command it reads, before anything can stop it:
    // its summary line or JSON report, and what that report says from the start.
    void Begin(const ConsoleCommand& command);
    const Services& services() const { return services_; }
    // What the run is doing now, for the message of a failure.
    void Phase(std::string phase) { phase_ = std::move(phase); }
    // A message: a line on the error stream, or held for the summary line.
    void Say(const Utf8Text& line) { messages_.Say(line); }
    // Standard output, every line ending in CR LF; a failed write is met.
    void Out(const Utf8Text& text);
    // What list and check give: what they print, or in the summary line the
    // count, zero included, and the names.
    void Listed(const Utf8Text& count, const std::vector<Utf8Text>& names, const Utf8Text& printed);
    // A message the summary line already holds in its own words: on the error stream alone.
    void Told(const Utf8Text& line) { messages_.Tell(line); }
    // One line naming the cause, the short usage and where help is; on the
    // error stream whatever the format, since nothing ran that a summary could tell.
    ExitCode Usage(const UsageError& error);
    ExitCode Usage(const std::string& message, const std::string& command) { return Usage(UsageError{message, command}); }
    void Failed(const std::string& what);
    bool HasAdminRights();
    // A mistyped folder is the command's fault, whatever --force or --backup says.
    std::optional<ExitCode> CheckBackupFolder(const DeleteCommand& command);

    // What every deletion does once its entries or profiles are chosen (with
    // names, for the reports): the backup file checked, the plan made and
    // prepared, then the dry run's account, or the run and its report.
    ExitCode CarryOut(const DeleteCommand& command, const std::vector<Utf8Text>& names, const Services& deleting,
                      const std::function<DeletionPlan()>& plan);

    // The summary line or the JSON report, whatever ended the run, and the code it exits with.
    ExitCode Finish(ExitCode result);

private:
    Utf8Text BackupFolder(const DeleteCommand& command) const;
    ExitCode Say(const DeletionLines& lines);
    // The outcome's event, with the run's summary line, for a run that changed something.
    void RecordTheEnd(ExitCode code);

    const Services& services_;
    ConsoleMessages messages_;
    ConsoleOutput& output_;
    const Utf8Text& programFolder_;
    std::string phase_ = "reading the arguments";
    SummaryLine summary_;  // printed for --format summary, and the outcome event's text
    bool summaryFormat_ = false;
    bool jsonReport_ = false;
    DeletionRecord record_;
    std::optional<RunRecord> events_;  // a delete's, unless --no-event-log
    bool outputClosed_ = false;
    std::set<ExitCode> met_;
};

}  // namespace tarvex

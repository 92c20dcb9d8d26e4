#pragma once

#include "console/console_arguments.h"
#include "console/console_messages.h"
#include "console/deletion_json.h"
#include "console/deletion_lines.h"
#include "console/exit_codes.h"
#include "console/summary_line.h"
#include "core/deletion_plan.h"
#include "core/device_query.h"
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
        : services(services), messages(output), output_(output), programFolder_(programFolder) {}

    // Standard output, every line ending in CR LF; a failed write is met.
    void Out(const Utf8Text& text);
    // One line naming the cause, the short usage and where help is; on the
    // error stream whatever the format, since nothing ran that a summary could tell.
    ExitCode Usage(const UsageError& error);
    ExitCode Usage(const std::string& message, const std::string& command) { return Usage(UsageError{message, command}); }
    void Failed(const std::string& what);
    bool HasAdminRights();
    // A mistyped folder is the command's fault, whatever --force or --backup says.
    std::optional<ExitCode> CheckBackupFolder(const DeleteCommand& command);

    // What every deletion does once its entries or profiles are chosen (with
    // names, for the reports): the backup file checked, the plan made, then
    // the dry run's account, or the run and its report.
    ExitCode CarryOut(const DeleteCommand& command, const std::vector<Utf8Text>& names, const Services& deleting,
                      const std::function<DeletionPlan()>& plan);

    // The summary line or the JSON report, whatever ended the run, and the code it exits with.
    ExitCode Finish(ExitCode result);

    const Services& services;
    ConsoleMessages messages;
    std::string phase = "reading the arguments";
    std::optional<SummaryLine> summary;  // for --format summary
    bool jsonReport = false;
    DeletionRecord record;

private:
    Utf8Text BackupFolder(const DeleteCommand& command) const;
    ExitCode Say(const DeletionLines& lines);

    ConsoleOutput& output_;
    const Utf8Text& programFolder_;
    bool outputClosed_ = false;
    std::set<ExitCode> met_;
};

}  // namespace tarvex

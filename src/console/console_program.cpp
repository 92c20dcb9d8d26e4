#include "console/console_program.h"

#include "console/console_arguments.h"
#include "console/console_messages.h"
#include "console/deletion_json.h"
#include "console/deletion_lines.h"
#include "console/exit_codes.h"
#include "console/help_text.h"
#include "console/key_path.h"
#include "console/profile_output.h"
#include "console/summary_line.h"
#include "console/row_filter.h"
#include "console/row_output.h"
#include "core/admin_rights.h"
#include "core/app_folder.h"
#include "core/backup_target.h"
#include "core/connection_deletion.h"
#include "core/connection_scan.h"
#include "core/deletion_plan.h"
#include "core/hand_over.h"
#include "core/network_profiles.h"
#include "core/profile_deletion.h"
#include "registry/registry_64_view.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace tarvex {

namespace {

// Without a person to ask, --force is the answer given in advance, and only
// for a backup that was written but is not whole: a file that cannot be
// written at all always stops.
class AnswerGivenInAdvance final : public BackupWarning {
public:
    AnswerGivenInAdvance(bool force, ConsoleMessages& messages) : force_(force), messages_(messages) {}
    bool GoOnWithoutFullBackup(const BackupProblem& problem) override {
        if (!problem.written) {
            messages_.Say("tarvex: could not write the backup file " + problem.file);
            stopReason_ = "a backup could not be written";
            return false;
        }
        // Exit 0 promises a backup no later run removes; the draft's name is not one.
        if (!problem.lasting) {
            if (force_) {
                messages_.Say("tarvex: warning: the full backup is only " + problem.file +
                              ", which the next full backup removes; going on as --force asks");
                return true;
            }
            messages_.Say("tarvex: the full backup could be kept only as " + problem.file +
                          ", which the next full backup removes");
            stopReason_ = "the full backup could not be kept (--force goes on without it)";
            return false;
        }
        if (problem.complete) return true;
        if (force_) {
            messages_.Say("tarvex: warning: the backup in " + problem.file + " is incomplete; going on as --force asks");
            return true;
        }
        messages_.Say("tarvex: the backup in " + problem.file + " is incomplete");
        stopReason_ = "a backup was incomplete (--force goes on without it)";
        return false;
    }
    void KeptAside(const BackupProblem& problem) override {
        messages_.Say("tarvex: warning: " + std::string(kLargeBackupFile) +
                      " could not be replaced; this run's full backup is " + problem.file +
                      (problem.lasting ? "" : "; move it somewhere safe before the next full backup"));
    }
    const std::string& stopReason() const { return stopReason_; }

private:
    bool force_;
    ConsoleMessages& messages_;
    std::string stopReason_;
};

// The scan's rows, or the exit code that ends the run instead.
struct ScannedRows {
    std::vector<ConnectionRow> rows;
    std::optional<ExitCode> stop;
};

// Each name once, in its first place.
std::vector<Utf8Text> DistinctNames(const std::vector<ConnectionRow>& rows) {
    std::vector<Utf8Text> names;
    for (const ConnectionRow& row : rows) {
        if (std::find(names.begin(), names.end(), row.texts.connection) == names.end()) {
            names.push_back(row.texts.connection);
        }
    }
    return names;
}

class Console {
public:
    Console(const Services& services, ConsoleOutput& output, const Utf8Text& programFolder)
        : services_(services), output_(output), messages_(output), programFolder_(programFolder) {}

    int Run(const std::vector<Utf8Text>& arguments) {
        ExitCode result = ExitCode::Done;
        try {
            const ConsoleCommand command = ParseArguments(arguments);
            const auto* remove = std::get_if<DeleteCommand>(&command);
            jsonReport_ = remove && remove->format == OutputFormat::Json;
            record_.handOverAsked = remove && remove->handOver.ask != HandOverAsk::None;
            if (FormatOf(command) == OutputFormat::Summary) {
                summary_.emplace();
                messages_.HoldForSummary();
            }
            result = Command(command);
        } catch (const std::exception& failure) {
            Failed(failure.what());
        } catch (...) {
            Failed("an unknown error");
        }
        return static_cast<int>(Finish(result));
    }

private:
    static OutputFormat FormatOf(const ConsoleCommand& command) {
        if (const auto* list = std::get_if<ListCommand>(&command)) return list->format;
        if (const auto* check = std::get_if<CheckCommand>(&command)) return check->format;
        if (const auto* remove = std::get_if<DeleteCommand>(&command)) return remove->format;
        return OutputFormat::Tsv;
    }

    // A fleet tool reads the JSON report of every delete run whose arguments
    // were read, or its one summary line, whatever ended it.
    ExitCode Finish(ExitCode result) {
        const ExitCode code = WinningExitCode(met_, result);
        if (code == ExitCode::Usage || (!jsonReport_ && !summary_)) return code;
        phase_ = "writing the report";
        try {
            if (summary_) {
                summary_->AddList("", messages_.held(), "; ");
                Out(summary_->Text());
            } else {
                Out(DeletionJson(record_, services_.codec, code));
            }
        } catch (const std::exception& failure) {
            Failed(failure.what());
        }
        return WinningExitCode(met_, result);
    }

    ExitCode Command(const ConsoleCommand& command) {
        if (const auto* error = std::get_if<UsageError>(&command)) return Usage(*error);
        if (const auto* help = std::get_if<HelpCommand>(&command)) {
            Out(HelpText(help->command));
            return ExitCode::Done;
        }
        if (std::holds_alternative<VersionCommand>(command)) {
            Out(std::string(kVersionText) + "\n");
            return ExitCode::Done;
        }
        const auto* remove = std::get_if<DeleteCommand>(&command);
        if (remove) {
            if (auto refused = CheckBackupFolder(*remove)) return *refused;
        }
        phase_ = "checking administrator rights";
        if (!HasAdminRights()) return ExitCode::NoAdminRights;
        if (const auto* list = std::get_if<ListCommand>(&command)) return list->profiles ? ListProfiles(*list) : List(*list);
        if (const auto* check = std::get_if<CheckCommand>(&command)) return check->profiles ? CheckProfiles(*check) : Check(*check);
        return remove->profiles ? DeleteProfiles(*remove) : Delete(*remove);
    }

    // On the error stream whatever the format: nothing ran that a summary could tell.
    ExitCode Usage(const UsageError& error) {
        const Utf8Text help = error.command.empty() ? "tarvex help COMMAND" : "tarvex help " + error.command;
        output_.Err(WithCrLf("tarvex: " + error.message + "\n" + ShortUsage() + "For what each command does: tarvex help; "
                             "for a command's options, defaults and examples: " + help + "\n"));
        return ExitCode::Usage;
    }

    ExitCode Usage(const std::string& message, const std::string& command) { return Usage(UsageError{message, command}); }

    void Failed(const std::string& what) {
        messages_.Say("tarvex: failed while " + phase_ + ": " + what);
        met_.insert(ExitCode::Unfinished);
    }

    void Out(const Utf8Text& text) {
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

    bool HasAdminRights() {
        const Status status = CheckAdminRights(services_.registry);
        if (status == kSuccess) return true;
        messages_.Say("tarvex: needs administrator rights: opening HKLM\\" + std::string(kNetworkPaths[0]) +
                      " for writing gave status " + std::to_string(status));
        return false;
    }

    Utf8Text BackupFolder(const DeleteCommand& command) const {
        return MakeAppFolder(command.backupFolder.value_or(programFolder_));
    }

    // A mistyped folder is the command's fault, whatever --force or --backup
    // says; a hand-over writes its undo file there even with --backup none.
    std::optional<ExitCode> CheckBackupFolder(const DeleteCommand& command) {
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

    // Rows with every text in UTF-8. Without a whole device list nothing can
    // be told stale: a stale filter stops, anything else goes on without adapters.
    ScannedRows ReadRows(bool staleOnly) {
        phase_ = "scanning the connections";
        ConnectionScan scan = ScanConnectionRows(services_, RowReads::Everything);
        if (const auto& error = scan.deviceError) {
            const std::string reason = FailureText(*error);
            if (staleOnly) {
                messages_.Say("tarvex: could not tell which entries are stale: " + reason);
                return {{}, ExitCode::StaleUnknown};
            }
            messages_.Say("tarvex: warning: the device query failed, so the adapter fields are empty: " + reason);
        }
        return {std::move(scan.rows)};
    }

    // The rows a command's filter keeps; a name that matched nothing at all says so.
    std::vector<ConnectionRow> Filtered(const std::vector<ConnectionRow>& rows, const RowFilter& filter) {
        std::vector<ConnectionRow> kept = FilterRows(rows, filter, services_.cases, now_);
        if (kept.empty() && !AnyNameMatches(rows, filter, services_.cases)) {
            messages_.Say("tarvex: no connection matches '" + *filter.namePattern + "'; PATTERN takes * and ?");
        }
        return kept;
    }

    ExitCode List(const ListCommand& list) {
        ScannedRows scanned = ReadRows(list.filter.staleOnly);
        if (scanned.stop) return *scanned.stop;
        std::vector<ConnectionRow> rows = Filtered(scanned.rows, list.filter);
        phase_ = "writing the list";
        if (summary_) {
            std::vector<Utf8Text> names;
            for (const ConnectionRow& row : rows) {
                const char* adapter = AdapterText(row.adapter);
                names.push_back(row.texts.connection + (*adapter ? std::string(" (") + adapter + ")" : ""));
            }
            summary_->AddList(std::to_string(rows.size()) + " listed", names);
        } else {
            Out(list.format == OutputFormat::Json ? JsonArray(rows, now_) : TsvTable(rows, now_));
        }
        return ExitCode::Done;
    }

    ExitCode Check(const CheckCommand& check) {
        ScannedRows scanned = ReadRows(true);
        if (scanned.stop) return *scanned.stop;
        const std::vector<ConnectionRow> stale = Filtered(scanned.rows, check.filter);
        if (summary_) {
            summary_->AddList(std::to_string(stale.size()) + " stale", DistinctNames(stale));
        } else {
            Out(std::to_string(stale.size()) + "\n");
        }
        ReportKeptAsRecent(scanned.rows, check.filter);
        return stale.empty() ? ExitCode::Done : ExitCode::StaleFound;
    }

    // A device away for a while (a laptop off its dock) is no stale one.
    void ReportKeptAsRecent(const std::vector<ConnectionRow>& rows, const RowFilter& filter) {
        const std::size_t kept = CountKeptAsRecent(rows, filter, services_.cases, now_);
        if (kept == 0) return;
        messages_.Say(std::to_string(kept) + " not present kept: seen within " + std::to_string(filter.notSeenForDays) +
                      " days, or undated; --not-seen-for 0 includes them");
    }

    // The --key paths, each the key of a listed row as regedit or
    // PowerShell may write it, each row once; or the first path that is none.
    std::optional<Utf8Text> SelectByKey(const DeleteCommand& command, const std::vector<ConnectionRow>& rows,
                                        std::vector<ConnectionRow>& selected) {
        std::unordered_map<Utf8Text, std::size_t> byKey;
        for (std::size_t i = 0; i < rows.size(); ++i) byKey.emplace(services_.cases.Upper(rows[i].texts.key), i);
        std::set<std::size_t> taken;
        for (const Utf8Text& key : command.keys) {
            auto row = byKey.find(services_.cases.Upper(PathBelowLocalMachine(key)));
            if (row == byKey.end()) return key;
            if (taken.insert(row->second).second) selected.push_back(rows[row->second]);
        }
        return std::nullopt;
    }

    // The backups a dry run's real run would write.
    static std::vector<Utf8Text> WouldWrite(const DeleteCommand& command, const DeletionPlan& plan, const Utf8Text& folder) {
        std::vector<Utf8Text> files;
        if (command.backup == BackupMode::Selective) files.push_back(folder + kSmallBackupFile);
        if (command.backup == BackupMode::Full) files.push_back(folder + kLargeBackupFile);
        if (plan.handOver && !plan.handOver->refusal) files.push_back(folder + "HandOver-YYYYMMDD-HHMMSS.reg");
        return files;
    }

    ExitCode Delete(const DeleteCommand& command) {
        ScannedRows scanned = ReadRows(command.filter.staleOnly);
        if (scanned.stop) return *scanned.stop;
        std::vector<ConnectionRow> rows = Filtered(scanned.rows, command.filter);
        if (command.filter.staleOnly) ReportKeptAsRecent(scanned.rows, command.filter);
        std::vector<ConnectionRow> selected;
        if (command.keys.empty()) {
            selected = std::move(rows);
        } else if (auto unknown = SelectByKey(command, rows, selected)) {
            return Usage("not the key of a listed connection: " + *unknown, "delete");
        }
        std::vector<AnsiText> keys;
        std::vector<Utf8Text> names;
        for (const ConnectionRow& row : selected) {
            keys.push_back(row.key);
            names.push_back(row.texts.connection);
        }
        return CarryOut(command, names, services_, [&] {
            return PlanDeletion(services_, keys, {command.withIpSettings, command.uninstallDevices, command.handOver});
        });
    }

    // The selected profiles, or the usage error that refuses one: a GUID
    // no listed profile has, or a profile connected now.
    std::optional<ExitCode> SelectProfiles(const DeleteCommand& command, const std::vector<NetworkProfile>& profiles,
                                           std::vector<NetworkProfile>& selected) {
        std::set<std::size_t> taken;
        for (const AnsiText& guid : command.profileGuids) {
            std::size_t found = profiles.size();
            for (std::size_t i = 0; i < profiles.size() && found == profiles.size(); ++i) {
                if (services_.cases.Upper(profiles[i].guid) == services_.cases.Upper(guid)) found = i;
            }
            if (found == profiles.size()) return Usage("not the GUID of a listed network profile: " + guid, "delete");
            if (profiles[found].connected == true) {
                return Usage("the profile " + guid + " (" + profiles[found].name + ") is connected now, and a "
                             "connected profile is never deleted: Windows would identify the network afresh, as a "
                             "new network on the Public category, and its firewall profile would follow",
                             "delete");
            }
            if (taken.insert(found).second) selected.push_back(profiles[found]);
        }
        return std::nullopt;
    }

    ExitCode DeleteProfiles(const DeleteCommand& command) {
        Registry64View view(services_.registry);
        const Services services = InThe64BitView(view);
        std::optional<ProfileScan> scan = ReadProfiles(services, true, "so none is deleted");
        if (!scan) return ExitCode::StaleUnknown;
        std::vector<NetworkProfile> selected = FilteredProfiles(scan->profiles, command.filter);
        if (!command.profileGuids.empty()) {
            std::vector<NetworkProfile> named;
            if (auto refused = SelectProfiles(command, selected, named)) return *refused;
            selected = std::move(named);
        }
        std::vector<Utf8Text> names;
        for (const NetworkProfile& profile : selected) names.push_back(profile.name.empty() ? profile.guid : profile.name);
        return CarryOut(command, names, services, [&] { return PlanProfileDeletion(selected); });
    }

    // What every deletion does once its entries or profiles are chosen: the
    // backup file checked, the plan made, then the dry run's account or the
    // run and its report.
    template <typename Planner>
    ExitCode CarryOut(const DeleteCommand& command, const std::vector<Utf8Text>& names, const Services& services,
                      Planner plan) {
        record_.dryRun = command.dryRun;
        // Nothing to delete needs no backup: a full one would replace the last.
        if (names.empty()) {
            messages_.Say(command.dryRun ? "0 to delete; dry run, nothing written or deleted" : "0 to delete");
            return ExitCode::Done;
        }
        const Utf8Text folder = BackupFolder(command);
        phase_ = "checking the backup file";
        if (!CanWriteBackup(services.files, folder, command.backup)) {
            messages_.Say("tarvex: cannot write the backup file " + FirstBackupFile(folder, command.backup) +
                          "; nothing deleted");
            return ExitCode::BackupIncomplete;
        }
        record_.connections = names;
        phase_ = "planning the deletion";
        DeletionPlan& planned = record_.plan.emplace(plan());
        // Its undo file is filled after the deletion: it is made before.
        if (planned.handOver && !planned.handOver->refusal &&
            !PrepareUndoFile(services, *planned.handOver, folder, command.dryRun)) {
            record_.stopReason = "the hand-over's undo file cannot be created in " + folder;
            messages_.Say("tarvex: cannot create the hand-over's undo file in " + folder + "; nothing deleted");
            return ExitCode::BackupIncomplete;
        }
        if (command.dryRun) {
            return Say(DescribeDryRun(planned, names, WouldWrite(command, planned, folder), services.codec));
        }
        AnswerGivenInAdvance warning(command.force, messages_);
        phase_ = "deleting";
        const DeletionReport& report =
            record_.report.emplace(DeleteAsPlanned(services, planned, command.backup, warning, folder));
        phase_ = "reporting the deletion";
        record_.stopReason = warning.stopReason();
        return Say(DescribeDeletion(planned, report, names, services.codec, record_.stopReason));
    }

    // The network list lies in the 64-bit registry.
    Services InThe64BitView(Registry64View& view) const {
        return Services{view,           services_.unicode, services_.devices, services_.installer, services_.files,
                        services_.clock, services_.codec,  services_.cases,   services_.pointer,   services_.networks};
    }

    // Every profile, with whether it is connected now; where that cannot be
    // told and it matters (stale ones asked for, or a deletion), nothing.
    std::optional<ProfileScan> ReadProfiles(const Services& services, bool mustTell, const char* consequence) {
        phase_ = "reading the network profiles";
        ProfileScan scan = ScanProfiles(services);
        if (scan.notTold) {
            if (mustTell) {
                messages_.Say("tarvex: cannot tell which network profile is connected, " + std::string(consequence) +
                              ": " + *scan.notTold);
                return std::nullopt;
            }
            messages_.Say("tarvex: warning: cannot tell which network profile is connected, so Connected is empty: " +
                          *scan.notTold);
        }
        return scan;
    }

    std::vector<NetworkProfile> FilteredProfiles(const std::vector<NetworkProfile>& profiles, const RowFilter& filter) {
        std::vector<NetworkProfile> kept = FilterProfiles(profiles, filter, services_.cases, services_.clock.LocalNow());
        if (kept.empty() && !AnyNameMatches(profiles, filter, services_.cases)) {
            messages_.Say("tarvex: no network profile matches '" + *filter.namePattern + "'; PATTERN takes * and ?");
        }
        return kept;
    }

    ExitCode ListProfiles(const ListCommand& list) {
        Registry64View view(services_.registry);
        std::optional<ProfileScan> scan = ReadProfiles(InThe64BitView(view), list.filter.staleOnly, "so none can be told stale");
        if (!scan) return ExitCode::StaleUnknown;
        const std::vector<NetworkProfile> profiles = FilteredProfiles(scan->profiles, list.filter);
        phase_ = "writing the list";
        if (summary_) {
            std::vector<Utf8Text> names;
            for (const NetworkProfile& profile : profiles) {
                const Utf8Text category = CategoryText(profile.category);
                names.push_back(profile.name + (profile.connected == true ? " (connected)" : "") +
                                (category.empty() ? "" : " [" + category + "]"));
            }
            summary_->AddList(std::to_string(profiles.size()) + " profiles", names);
        } else {
            Out(list.format == OutputFormat::Json ? ProfileJson(profiles, services_.codec)
                                                  : ProfileTsv(profiles, services_.codec));
        }
        return ExitCode::Done;
    }

    ExitCode CheckProfiles(const CheckCommand& check) {
        Registry64View view(services_.registry);
        std::optional<ProfileScan> scan = ReadProfiles(InThe64BitView(view), true, "so none can be told stale");
        if (!scan) return ExitCode::StaleUnknown;
        const std::vector<NetworkProfile> stale = FilteredProfiles(scan->profiles, check.filter);
        if (summary_) {
            std::vector<Utf8Text> names;
            for (const NetworkProfile& profile : stale) names.push_back(profile.name);
            summary_->AddList(std::to_string(stale.size()) + " stale profiles", names);
        } else {
            Out(std::to_string(stale.size()) + "\n");
        }
        return stale.empty() ? ExitCode::Done : ExitCode::StaleFound;
    }

    // The lines, unless the JSON report or the summary line stands in their place.
    ExitCode Say(const DeletionLines& lines) {
        if (summary_) {
            AddToSummary(*summary_, lines);
        } else {
            if (!jsonReport_) Out(lines.out);
            for (const Utf8Text& line : MessageLines(lines)) messages_.Say(line);
        }
        met_.insert(lines.met.begin(), lines.met.end());
        return ExitCode::Done;
    }

    const Services& services_;
    ConsoleOutput& output_;
    ConsoleMessages messages_;
    const Utf8Text& programFolder_;
    std::string phase_ = "reading the arguments";
    const FileTime now_ = services_.clock.UtcNow();
    bool outputClosed_ = false;
    std::set<ExitCode> met_;
    bool jsonReport_ = false;
    std::optional<SummaryLine> summary_;
    DeletionRecord record_;
};

}  // namespace

int RunConsole(const std::vector<Utf8Text>& arguments, const Services& services, ConsoleOutput& output,
               const Utf8Text& programFolder) {
    return Console(services, output, programFolder).Run(arguments);
}

}  // namespace tarvex

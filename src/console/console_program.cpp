#include "console/console_program.h"

#include "core/app_folder.h"
#include "console/console_arguments.h"
#include "console/exit_codes.h"
#include "console/row_filter.h"
#include "console/row_output.h"
#include "core/connection_deletion.h"
#include "core/connection_scan.h"
#include "registry/unique_key.h"

#include <algorithm>
#include <string>

namespace tarvex {

namespace {

int Exit(ExitCode code) { return static_cast<int>(code); }

// No pointer to show on a console.
class NoPointer final : public MousePointer {
public:
    int Current() const override { return kDefaultPointer; }
    void Set(int) override {}
};

class BackupModeChoices final : public BackupChoices {
public:
    explicit BackupModeChoices(BackupMode mode) : mode_(mode) {}
    bool chkBackup() const override { return mode_ == BackupMode::Full; }
    bool chkSelective() const override { return mode_ == BackupMode::Selective; }

private:
    BackupMode mode_;
};

// Without a person to ask, --force is the answer given in advance.
class AnswerGivenInAdvance final : public BackupWarning {
public:
    AnswerGivenInAdvance(bool force, ConsoleOutput& output) : force_(force), output_(output) {}
    bool GoOnWithoutFullBackup() override {
        if (force_) output_.Err("warning: a backup is incomplete; going on as --force asks\n");
        return force_;
    }

private:
    bool force_;
    ConsoleOutput& output_;
};

class Console {
public:
    explicit Console(const ConsolePlatform& platform) : platform_(platform) {}

    int Run(const ConsoleCommand& command) {
        if (const auto* error = std::get_if<UsageError>(&command)) return Usage(error->message);
        if (std::holds_alternative<HelpCommand>(command)) {
            platform_.output.Out(kUsage);
            return Exit(ExitCode::Done);
        }
        if (std::holds_alternative<VersionCommand>(command)) {
            platform_.output.Out(std::string(kVersionText) + "\n");
            return Exit(ExitCode::Done);
        }
        if (!HasAdminRights()) return Exit(ExitCode::NoAdminRights);
        if (const auto* list = std::get_if<ListCommand>(&command)) return List(*list);
        if (const auto* check = std::get_if<CheckCommand>(&command)) return Check(*check);
        return Delete(std::get<DeleteCommand>(command));
    }

private:
    int Usage(const std::string& message) {
        platform_.output.Err("tarvex: " + message + "\n" + kUsage);
        return Exit(ExitCode::Usage);
    }

    // The scan opens every Connection key for writing: without the rights it
    // would list nothing and say nothing.
    bool HasAdminRights() {
        UniqueKey network(platform_.registry);
        Status status = network.Open(kLocalMachine, kNetworkPaths[0], kReadWriteMask);
        if (status == kSuccess || status == kFileNotFound) return true;
        platform_.output.Err("tarvex: needs administrator rights: opening HKLM\\" + std::string(kNetworkPaths[0]) +
                             " for writing gave status " + std::to_string(status) + "\n");
        return false;
    }

    std::vector<ListedRow> Scan() {
        std::vector<ListedRow> rows;
        for (ConnectionRow& row : ScanConnectionRows(platform_.registry, &platform_.devices)) {
            std::optional<Utf8Text> id;
            if (row.pnpInstanceId) id = platform_.ansiToUtf8(*row.pnpInstanceId);
            rows.push_back({platform_.ansiToUtf8(row.key), platform_.ansiToUtf8(ControlSetName(row.key)),
                            platform_.ansiToUtf8(row.name), row.adapter, row.device, id, row.key});
        }
        return rows;
    }

    int List(const ListCommand& list) {
        std::vector<ListedRow> rows = FilterRows(Scan(), list.filter);
        platform_.output.Out(list.format == OutputFormat::Json ? JsonArray(rows) : TsvTable(rows));
        return Exit(ExitCode::Done);
    }

    int Check(const CheckCommand& check) {
        const std::size_t stale = FilterRows(Scan(), check.filter).size();
        platform_.output.Out(std::to_string(stale) + "\n");
        return Exit(stale > 0 ? ExitCode::StaleFound : ExitCode::Done);
    }

    // The --key paths, each the key of a listed row, or why not.
    std::optional<std::string> SelectByKey(const DeleteCommand& command, const std::vector<ListedRow>& rows,
                                           std::vector<ListedRow>& selected) {
        for (const Utf8Text& key : command.keys) {
            auto row = std::find_if(rows.begin(), rows.end(), [&](const ListedRow& r) { return SameText(r.key, key); });
            if (row == rows.end()) return "not the key of a listed connection: " + key;
            selected.push_back(*row);
        }
        return std::nullopt;
    }

    int Delete(const DeleteCommand& command) {
        std::vector<ListedRow> rows = FilterRows(Scan(), command.filter);
        std::vector<ListedRow> selected;
        if (command.keys.empty()) {
            selected = rows;
        } else if (auto error = SelectByKey(command, rows, selected)) {
            return Usage(*error);
        }

        if (command.dryRun) {
            for (const ListedRow& row : selected) platform_.output.Out("would delete\t" + row.key + "\n");
            platform_.output.Err(std::to_string(selected.size()) + " to delete; dry run, nothing written or deleted\n");
            return Exit(ExitCode::Done);
        }

        std::vector<AnsiText> keys;
        for (const ListedRow& row : selected) keys.push_back(row.registryKey);
        NoPointer pointer;
        BackupModeChoices choices(command.backup);
        AnswerGivenInAdvance warning(command.force, platform_.output);
        const Utf8Text folder = MakeAppFolder(command.backupFolder.value_or(platform_.programFolder));
        DeletionReport report = DeleteConnectionKeys({platform_.registry, platform_.files, pointer}, keys, choices,
                                                     warning, folder);

        std::size_t failed = 0;
        for (std::size_t i = 0; i < report.keys.size(); ++i) {
            if (report.keys[i].outcome == KeyOutcome::Deleted) {
                platform_.output.Out("deleted\t" + selected[i].key + "\n");
            } else {
                ++failed;
                platform_.output.Err("tarvex: could not delete " + selected[i].key + "\n");
            }
        }
        const std::size_t deleted = report.keys.size() - failed;
        std::string summary = std::to_string(deleted) + " deleted, " + std::to_string(failed) + " failed";
        if (report.stopped) {
            summary += ", " + std::to_string(selected.size() - report.keys.size()) +
                       " left: a backup was incomplete (--force goes on without it)";
        }
        platform_.output.Err(summary + "\n");
        if (report.stopped) return Exit(ExitCode::BackupIncomplete);
        return Exit(failed > 0 ? ExitCode::DeletionFailed : ExitCode::Done);
    }

    const ConsolePlatform& platform_;
};

}  // namespace

int RunConsole(const std::vector<Utf8Text>& arguments, const ConsolePlatform& platform) {
    return Console(platform).Run(ParseArguments(arguments));
}

}  // namespace tarvex

#include "console/console_program.h"

#include "console/console_arguments.h"
#include "console/console_session.h"
#include "core/deletion_lines.h"
#include "core/exit_codes.h"
#include "console/help_text.h"
#include "console/key_path.h"
#include "console/profile_commands.h"
#include "console/row_filter.h"
#include "console/row_output.h"
#include "core/connection_scan.h"
#include "core/deletion_plan.h"
#include "core/ipv4_settings.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace tarvex {

namespace {

// The scan's rows, or the exit code that ends the run instead.
struct ScannedRows {
    std::vector<ConnectionRow> rows;
    std::optional<ExitCode> stop;
};

// The entry's connection name, or for an entry with none what tells it apart.
Utf8Text NameOf(const ConnectionRow& row) {
    return row.texts.connection.empty() ? "(no name) " + ConnectionGuid(row.key) : row.texts.connection;
}

// One command line, and the commands over connection entries.
class Console {
public:
    Console(const Services& services, ConsoleOutput& output, const Utf8Text& programFolder)
        : session_(services, output, programFolder), services_(services) {}

    int Run(const std::vector<Utf8Text>& arguments) {
        ExitCode result = ExitCode::Done;
        try {
            const ConsoleCommand command = ParseArguments(arguments);
            session_.Begin(command);
            result = Command(command);
        } catch (const std::exception& failure) {
            session_.Failed(failure.what());
        } catch (...) {
            session_.Failed("an unknown error");
        }
        return static_cast<int>(session_.Finish(result));
    }

private:
    ExitCode Command(const ConsoleCommand& command) {
        if (const auto* error = std::get_if<UsageError>(&command)) return session_.Usage(*error);
        if (const auto* help = std::get_if<HelpCommand>(&command)) {
            session_.Out(HelpText(help->command));
            return ExitCode::Done;
        }
        if (std::holds_alternative<VersionCommand>(command)) {
            session_.Out(std::string(kVersionText) + "\n");
            return ExitCode::Done;
        }
        const auto* remove = std::get_if<DeleteCommand>(&command);
        if (remove) {
            if (auto refused = session_.CheckBackupFolder(*remove)) return *refused;
        }
        session_.Phase("checking administrator rights");
        if (!session_.HasAdminRights()) return ExitCode::NoAdminRights;
        if (const auto* list = std::get_if<ListCommand>(&command)) {
            return list->profiles ? ListProfiles(session_, *list) : List(*list);
        }
        if (const auto* check = std::get_if<CheckCommand>(&command)) {
            return check->profiles ? CheckProfiles(session_, *check) : Check(*check);
        }
        return remove->profiles ? DeleteProfiles(session_, *remove) : Delete(*remove);
    }

    // Rows with every text in UTF-8. Without a whole device list nothing can
    // be told stale: a stale filter stops, anything else goes on without adapters.
    ScannedRows ReadRows(bool staleOnly) {
        session_.Phase("scanning the connections");
        ConnectionScan scan = ScanConnectionRows(services_, RowReads::Everything);
        if (const auto& error = scan.deviceError) {
            const std::string reason = FailureText(*error);
            if (staleOnly) {
                session_.Say("tarvex: could not tell which entries are stale: " + reason);
                return {{}, ExitCode::StaleUnknown};
            }
            session_.Say("tarvex: warning: the device query failed, so the adapter fields are empty: " + reason);
        }
        return {std::move(scan.rows)};
    }

    // The rows a command's filter keeps; a name that matched nothing at all says so.
    std::vector<ConnectionRow> Filtered(const std::vector<ConnectionRow>& rows, const RowFilter& filter) {
        std::vector<ConnectionRow> kept = FilterRows(rows, filter, services_.cases, now_);
        if (kept.empty() && !AnyNameMatches(rows, filter, services_.cases)) {
            session_.Say("tarvex: no connection matches '" + *filter.namePattern + "'; PATTERN takes * and ?");
        }
        return kept;
    }

    ExitCode List(const ListCommand& list) {
        ScannedRows scanned = ReadRows(list.filter.staleOnly);
        if (scanned.stop) return *scanned.stop;
        std::vector<ConnectionRow> rows = Filtered(scanned.rows, list.filter);
        session_.Phase("writing the list");
        std::vector<Utf8Text> names;
        for (const ConnectionRow& row : rows) {
            const char* adapter = AdapterText(row.adapter);
            names.push_back(NameOf(row) + (*adapter ? std::string(" (") + adapter + ")" : ""));
        }
        session_.Listed(std::to_string(rows.size()) + " listed", names,
                        list.format == OutputFormat::Json ? JsonArray(rows, now_) : TsvTable(rows, now_));
        return ExitCode::Done;
    }

    ExitCode Check(const CheckCommand& check) {
        ScannedRows scanned = ReadRows(true);
        if (scanned.stop) return *scanned.stop;
        const std::vector<ConnectionRow> stale = Filtered(scanned.rows, check.filter);
        std::vector<Utf8Text> names;
        for (const ConnectionRow& row : stale) names.push_back(NameOf(row));
        // One entry a control set: the same connection counts once for each.
        names = Distinct(names);
        const Utf8Text count = std::to_string(stale.size()) + " stale entries (" + std::to_string(names.size()) +
                               (names.size() == 1 ? " connection)" : " connections)");
        session_.Listed(count, names, std::to_string(stale.size()) + "\n");
        if (!stale.empty()) session_.Told(count + ": " + JoinTexts(names, ", "));
        ReportKeptAsRecent(scanned.rows, check.filter);
        return stale.empty() ? ExitCode::Done : ExitCode::StaleFound;
    }

    // A device away for a while (a laptop off its dock) is no stale one.
    void ReportKeptAsRecent(const std::vector<ConnectionRow>& rows, const RowFilter& filter) {
        const std::size_t kept = CountKeptAsRecent(rows, filter, services_.cases, now_);
        if (kept == 0) return;
        session_.Say(std::to_string(kept) + " not present kept: seen within " +
                              std::to_string(filter.notSeenForDays) + " days, or undated; --not-seen-for 0 includes them");
    }

    // The --key paths, each the key of a listed row as regedit or
    // PowerShell may write it, each row once; or the first path that is none.
    std::optional<Utf8Text> SelectByKey(const DeleteCommand& command, const std::vector<ConnectionRow>& rows,
                                        std::vector<ConnectionRow>& selected) {
        std::unordered_map<Utf8Text, std::size_t> byKey;
        for (std::size_t i = 0; i < rows.size(); ++i) byKey.emplace(services_.cases.Upper(rows[i].texts.key), i);
        std::set<std::size_t> taken;
        for (const Utf8Text& key : command.keys) {
            auto row = byKey.find(services_.cases.Upper(EntryKeyOf(key)));
            if (row == byKey.end()) return key;
            if (taken.insert(row->second).second) selected.push_back(rows[row->second]);
        }
        return std::nullopt;
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
            return session_.Usage("not the key of a listed connection: " + *unknown + "; tarvex list shows the keys",
                                  "delete");
        }
        std::vector<AnsiText> keys;
        std::vector<Utf8Text> names;
        for (const ConnectionRow& row : selected) {
            keys.push_back(row.key);
            names.push_back(NameOf(row));
        }
        return session_.CarryOut(command, names, services_, [&] {
            return PlanDeletion(services_, keys, {command.withIpSettings, command.uninstallDevices, command.handOver});
        });
    }

    ConsoleSession session_;
    const Services& services_;
    const FileTime now_ = services_.clock.UtcNow();
};

}  // namespace

int RunConsole(const std::vector<Utf8Text>& arguments, const Services& services, ConsoleOutput& output,
               const Utf8Text& programFolder) {
    return Console(services, output, programFolder).Run(arguments);
}

}  // namespace tarvex

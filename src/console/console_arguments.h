#pragma once

#include "core/backup_mode.h"
#include "core/hand_over_plan.h"
#include "core/last_seen.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tarvex {

// summary: one line for fleet tools, in place of every other output.
enum class OutputFormat { Tsv, Json, Summary };

struct RowFilter {
    bool staleOnly = false;
    std::uint32_t notSeenForDays = kDefaultNotSeenForDays;  // how long a stale device has been away
    std::optional<Utf8Text> namePattern;
};

struct ListCommand {
    RowFilter filter;
    OutputFormat format = OutputFormat::Tsv;
    bool profiles = false;  // network profiles in place of connection entries
};

struct CheckCommand {
    RowFilter filter;  // staleOnly is always set
    OutputFormat format = OutputFormat::Tsv;  // tsv: the count alone
    bool profiles = false;
};

struct DeleteCommand {
    RowFilter filter;
    std::vector<Utf8Text> keys;  // given with --key; empty with --stale
    BackupMode backup = BackupMode::Selective;
    std::optional<Utf8Text> backupFolder;
    bool dryRun = false;
    bool force = false;
    bool withIpSettings = false;    // and the IP settings of entries whose adapter is gone
    bool uninstallDevices = false;  // and the devices of entries whose adapter is not present
    HandOverRequest handOver;       // and a ghost's static IPv4 settings to its successor
    OutputFormat format = OutputFormat::Tsv;  // json: one report object instead of the lines
    bool profiles = false;               // network profiles in place of connection entries
    std::vector<AnsiText> profileGuids;  // given with --profile, braced; empty with --stale
    bool eventLog = true;                // a record of the run in the Application log
};

// The general help, or one command's.
struct HelpCommand {
    std::optional<std::string> command;
};
struct VersionCommand {};

struct UsageError {
    std::string message;
    std::string command;  // the command it concerns; empty when none was named
};

using ConsoleCommand =
    std::variant<ListCommand, CheckCommand, DeleteCommand, HelpCommand, VersionCommand, UsageError>;

// The arguments after the program's name, in UTF-8. Commands, option
// names and the fixed values are taken in any case; an option's value may
// follow it or be joined to it by "=". A help flag anywhere asks for help.
ConsoleCommand ParseArguments(const std::vector<Utf8Text>& arguments);

}  // namespace tarvex

#include "console/console_arguments.h"
#include "console/console_fixture.h"
#include "support/seed_profile.h"
#include "tarvex_version.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <utility>

namespace tarvex {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

struct UsageCase {
    const char* line;
    const char* message;
};

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, NameWhatIsWrong) {
    ConsoleCommand command = ParseArguments(Words(GetParam().line));
    const auto* error = std::get_if<UsageError>(&command);
    ASSERT_NE(nullptr, error) << GetParam().line;
    EXPECT_EQ(GetParam().message, error->message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, UsageErrors,
    ::testing::Values(
        UsageCase{"", "no command given"}, UsageCase{"remove --stale", "unknown command: remove"},
        UsageCase{"list --force", "unknown option for list: --force"},
        UsageCase{"list --verbose", "unknown option for list: --verbose"},
        UsageCase{"check --stale=yes", "--stale takes no value"},
        UsageCase{"list extra", "unexpected argument for list: extra"},
        UsageCase{"list --name", "--name needs a value"},
        UsageCase{"list --name a --name b", "--name is given twice"},
        UsageCase{"list --format", "--format needs a value"},
        UsageCase{"list --format csv", "--format takes tsv, json or summary, not csv"},
        UsageCase{"check --format json", "--format takes summary, not json"},
        UsageCase{"list --format tsv --format json", "--format is given twice"},
        UsageCase{"delete", "delete needs --stale or --key PATH"},
        UsageCase{"delete --dry-run --force", "delete needs --stale or --key PATH"},
        UsageCase{"delete --key", "--key needs a key path"},
        UsageCase{"delete --stale --key SYSTEM\\x", "delete takes --stale or --key, not both"},
        UsageCase{"delete --stale --backup", "--backup needs a value"},
        UsageCase{"delete --stale --backup all", "--backup takes selective, full or none, not all"},
        UsageCase{"delete --stale --backup none --backup full", "--backup is given twice"},
        UsageCase{"delete --stale --backup-dir", "--backup-dir needs a value"},
        UsageCase{"delete --stale --backup-dir a --backup-dir b", "--backup-dir is given twice"},
        UsageCase{"delete --stale --hand-over", "--hand-over needs --with-ip-settings"},
        UsageCase{"delete --stale --hand-over-to {8B1C6D0E-2F3A-4B5C-9D7E-0123456789AB}",
                  "--hand-over-to needs --with-ip-settings"},
        UsageCase{"delete --stale --with-ip-settings --hand-over --hand-over-to 8b1c6d0e-2f3a-4b5c-9d7e-0123456789ab",
                  "delete takes --hand-over or --hand-over-to, not both"},
        UsageCase{"delete --stale --with-ip-settings --hand-over-to Ethernet",
                  "--hand-over-to takes an adapter's GUID, not \"Ethernet\""},
        UsageCase{"list --hand-over", "unknown option for list: --hand-over"},
        UsageCase{"check --hand-over-to {8B1C6D0E-2F3A-4B5C-9D7E-0123456789AB}", "unknown option for check: --hand-over-to"},
        UsageCase{"help list extra", "unexpected argument after help list: extra"},
        UsageCase{"delete --profiles", "delete --profiles needs --stale or --profile GUID"},
        UsageCase{"delete --profiles --stale --profile 8b1c6d0e-2f3a-4b5c-9d7e-0123456789ab",
                  "delete --profiles takes --stale or --profile, not both"},
        UsageCase{"delete --profiles --profile Network", "--profile takes a profile's GUID, not \"Network\""},
        UsageCase{"delete --profile 8b1c6d0e-2f3a-4b5c-9d7e-0123456789ab", "--profile needs --profiles"},
        UsageCase{"delete --profiles --stale --backup full",
                  "--backup full is for connection entries; --profiles takes selective or none"},
        UsageCase{"delete --profiles --key K",
                  "--key is for connection entries, not with --profiles; name a profile with --profile GUID"},
        UsageCase{"delete --profiles --stale --with-ip-settings", "--with-ip-settings is for connection entries, not with --profiles"},
        UsageCase{"delete --profiles --stale --uninstall-devices", "--uninstall-devices is for connection entries, not with --profiles"},
        UsageCase{"delete --profiles --stale --hand-over", "--hand-over is for connection entries, not with --profiles"},
        UsageCase{"delete --profiles --stale --hand-over-to {8B1C6D0E-2F3A-4B5C-9D7E-0123456789AB}",
                  "--hand-over-to is for connection entries, not with --profiles"},
        UsageCase{"help remove", "no help for remove: it is no command"},
        UsageCase{"lsit", "unknown command: lsit; did you mean \"list\"?"},
        UsageCase{"help CHEKC", "no help for CHEKC: it is no command; did you mean \"check\"?"},
        UsageCase{"delete --stael", "unknown option for delete: --stael; did you mean \"--stale\"?"},
        UsageCase{"list --fromat json", "unknown option for list: --fromat; did you mean \"--format\"?"},
        UsageCase{"delete -stale", "unexpected argument for delete: -stale; options start with --; did you mean \"--stale\"?"},
        UsageCase{"delete /STALE", "unexpected argument for delete: /STALE; options start with --; did you mean \"--stale\"?"},
        UsageCase{"delete /stael", "unexpected argument for delete: /stael; options start with --; did you mean \"--stale\"?"},
        UsageCase{"delete -", "unexpected argument for delete: -"},
        UsageCase{"delete --profilex", "unknown option for delete: --profilex"},
        UsageCase{"delete --stale --stale", "--stale is given twice"},
        UsageCase{"delete --stale --dry-run --DRY-RUN", "--dry-run is given twice"},
        UsageCase{"--version 2", "unexpected argument after --version: 2"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ConsoleArguments, ListTakesFiltersAndFormat) {
    ConsoleCommand command = ParseArguments({"list", "--format", "json", "--stale", "--name", "Local Area*"});
    const auto& list = std::get<ListCommand>(command);
    EXPECT_EQ(OutputFormat::Json, list.format);
    EXPECT_TRUE(list.filter.staleOnly);
    EXPECT_EQ("Local Area*", list.filter.namePattern.value_or(""));
    EXPECT_EQ(OutputFormat::Tsv, std::get<ListCommand>(ParseArguments({"list"})).format);
}

TEST(ConsoleArguments, CheckCountsOnlyStaleRows) {
    const CheckCommand check = std::get<CheckCommand>(ParseArguments({"check", "--name", "Wi*"}));
    EXPECT_TRUE(check.filter.staleOnly);
    EXPECT_EQ("Wi*", check.filter.namePattern.value_or(""));
}

TEST(ConsoleArguments, DeleteTakesSeveralKeysAndEveryOption) {
    ConsoleCommand command = ParseArguments({"delete", "--key", "A", "B", "--backup", "full", "--key", "C",
                                             "--backup-dir", "D:\\Backups", "--dry-run", "--force"});
    const auto& remove = std::get<DeleteCommand>(command);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), remove.keys);
    EXPECT_FALSE(remove.filter.staleOnly);
    EXPECT_EQ(BackupMode::Full, remove.backup);
    EXPECT_EQ("D:\\Backups", remove.backupFolder.value_or(""));
    EXPECT_TRUE(remove.dryRun);
    EXPECT_TRUE(remove.force);

    const HandOverRequest named = std::get<DeleteCommand>(ParseArguments({"delete", "--stale", "--with-ip-settings",
                                                                         "--hand-over-to", "8b1c6d0e-2f3a-4b5c-9d7e-0123456789ab"}))
                                      .handOver;
    EXPECT_EQ(HandOverAsk::Named, named.ask);
    EXPECT_EQ("{8b1c6d0e-2f3a-4b5c-9d7e-0123456789ab}", named.successorGuid) << "braces added, case kept";

    const DeleteCommand profiles = std::get<DeleteCommand>(
        ParseArguments({"delete", "--profiles", "--profile", "{8B1C6D0E-2F3A-4B5C-9D7E-0123456789AB}", "--profile",
                        "{8B1C6D0E-2F3A-4B5C-9D7E-0123456789AC}"}));
    EXPECT_EQ(2u, profiles.profileGuids.size()) << "--profile, like --key, may be given again";

    const DeleteCommand stale = std::get<DeleteCommand>(ParseArguments({"delete", "--stale"}));
    EXPECT_EQ(BackupMode::Selective, stale.backup) << "the default";
    EXPECT_FALSE(stale.dryRun || stale.force || stale.backupFolder);
}

TEST(ConsoleArguments, NotSeenForTakesWholeDaysFromZeroToAHundredYears) {
    EXPECT_EQ(30u, std::get<CheckCommand>(ParseArguments({"check"})).filter.notSeenForDays) << "the default";
    for (const auto& [value, days] : std::vector<std::pair<std::string, std::uint32_t>>{{"0", 0}, {"30", 30},
                                                                                     {"36500", 36500}}) {
        EXPECT_EQ(days, std::get<CheckCommand>(ParseArguments({"check", "--not-seen-for", value})).filter.notSeenForDays);
        EXPECT_EQ(days, std::get<ListCommand>(ParseArguments({"list", "--stale", "--not-seen-for", value}))
                            .filter.notSeenForDays);
        EXPECT_EQ(days, std::get<DeleteCommand>(ParseArguments({"delete", "--not-seen-for", value, "--stale"}))
                            .filter.notSeenForDays);
    }
    // 2^32 and 2^32 + 10 would pass as 0 and 10 through a 32-bit unsigned long, as on Windows.
    for (const std::string value : {"", "-1", "1.5", "36501", "ten", "+5", "99999999999", "4294967296", "4294967306",
                                    "18446744073709551616"}) {
        const ConsoleCommand command = ParseArguments({"check", "--not-seen-for", value});
        const auto* error = std::get_if<UsageError>(&command);
        ASSERT_NE(nullptr, error) << value;
        EXPECT_EQ("--not-seen-for takes a whole number of days from 0 to 36500, not \"" + value + "\"", error->message);
    }
    for (const auto& [arguments, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"list", "--not-seen-for", "5"}, "list takes --not-seen-for only with --stale"},
             {{"delete", "--key", "K", "--not-seen-for", "5"}, "delete takes --not-seen-for only with --stale"},
             {{"check", "--not-seen-for", "1", "--not-seen-for", "2"}, "--not-seen-for is given twice"}}) {
        const ConsoleCommand command = ParseArguments(arguments);
        ASSERT_TRUE(std::holds_alternative<UsageError>(command)) << message;
        EXPECT_EQ(message, std::get<UsageError>(command).message);
    }
}

TEST(ConsoleArguments, HelpAndVersion) {
    EXPECT_TRUE(std::holds_alternative<HelpCommand>(ParseArguments({"--help"})));
    EXPECT_TRUE(std::holds_alternative<VersionCommand>(ParseArguments({"--version"})));
}


// Whole command lines, as an admin types them, and what each gives.
struct CommandLine {
    const char* what;
    std::vector<std::string> arguments;
    ExitCode exit;
    std::string out;  // found at the start of standard output
    std::string err;  // found on the error stream; with errEmpty, none is
    bool errEmpty = false;
    std::function<void(console_fixture::ConsoleProgram&)> arrange = [](console_fixture::ConsoleProgram&) {};
};

class CommandLines : public console_fixture::ConsoleProgram, public ::testing::WithParamInterface<CommandLine> {};

TEST_P(CommandLines, GiveWhatAWindowsAdministratorExpects) {
    GetParam().arrange(*this);
    EXPECT_EQ(GetParam().exit, Run(GetParam().arguments));
    EXPECT_EQ(0u, output.out.find(GetParam().out)) << output.out;
    EXPECT_NE(std::string::npos, output.err.find(GetParam().err)) << output.err;
    if (GetParam().errEmpty) {
        EXPECT_EQ("", output.err);
    }
}

const std::string kGeneral = "tarvex lists, checks and deletes the network connection entries Windows\r\n";
const std::string kDeleteHelp = "usage:\r\n  tarvex delete (--stale";
const std::string kSet2Key = "SYSTEM\\ControlSet002\\Control\\Network\\{C}\\{4}";
const std::string kDeletedSet2 = "deleted\t" + kSet2Key + "\r\n";
const std::string kStaleProfile = "{5D1A9C3E-0000-4000-8000-0000000000B2}";

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLines,
    ::testing::Values(
        CommandLine{"SlashQuestionMark", {"/?"}, ExitCode::Done, kGeneral, "", true},
        CommandLine{"DashQuestionMark", {"-?"}, ExitCode::Done, kGeneral, "", true},
        CommandLine{"DashH", {"-h"}, ExitCode::Done, kGeneral, "", true},
        CommandLine{"HelpInCapitals", {"--HELP"}, ExitCode::Done, kGeneral, "", true},
        CommandLine{"HelpWord", {"help"}, ExitCode::Done, kGeneral, "", true},
        CommandLine{"HelpForACommand", {"help", "DELETE"}, ExitCode::Done, kDeleteHelp, "", true},
        CommandLine{"HelpForListInCapitals", {"help", "LIST"}, ExitCode::Done, "usage:\r\n  tarvex list ", "", true},
        CommandLine{"HelpForCheckCapitalised", {"help", "Check"}, ExitCode::Done, "usage:\r\n  tarvex check ", "", true},
        CommandLine{"CommandThenFlag", {"check", "/?"}, ExitCode::Done, "usage:\r\n  tarvex check ", "", true},
        CommandLine{"FlagInAValuesPlace", {"delete", "--key", "/?"}, ExitCode::Done, kDeleteHelp, "", true},
        CommandLine{"FlagAfterAnError", {"list", "--bogus", "-h"}, ExitCode::Done, "usage:\r\n  tarvex list ", "", true},
        CommandLine{"NoWords", {}, ExitCode::Usage, "", "tarvex: no command given\r\nType \"tarvex help\" for usage.\r\n"},
        CommandLine{"UsageErrorNamesItsCommandsHelp", {"delete", "--bogus"}, ExitCode::Usage, "",
                    "tarvex: unknown option for delete: --bogus\r\nType \"tarvex help delete\" for usage.\r\n"},
        CommandLine{"CommandInCapitals", {"LIST"}, ExitCode::Done, "ControlSet\tConnection\t"},
        CommandLine{"OptionInCapitals", {"list", "--FORMAT", "json"}, ExitCode::Done, "[\r\n{\"key\""},
        CommandLine{"JoinedValueInCapitals", {"list", "--format=JSON"}, ExitCode::Done, "[\r\n{\"key\""},
        CommandLine{"ChoiceInAnyCase", {"delete", "--stale", "--Backup", "Full", "--dry-run"}, ExitCode::Done,
                    "would delete\t", "would write: C:\\Tools\\Tarvex-YYYYMMDD-HHMMSS.reg, C:\\Tools\\LargeBackup.reg\r\n"},
        CommandLine{"CheckTakesStale", {"check", "--stale"}, ExitCode::StaleFound, "5\r\n"},
        CommandLine{"JoinedKeyAndMore",
                    {"delete", "--backup=none", "--key=" + kSet2Key, "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{3}"},
                    ExitCode::Done, kDeletedSet2, "2 deleted, 0 failed\r\n"},
        CommandLine{"JoinedProfile", {"delete", "--profiles", "--profile=" + kStaleProfile, "--backup", "none"},
                    ExitCode::Done, "deleted\t" + kProfiles + kStaleProfile + "\r\n", "", false,
                    [](console_fixture::ConsoleProgram& c) {
                        ASSERT_EQ(kSuccess, SeedProfile(c.registry, kStaleProfile, "Network 2", {2026, 1, 10, 18, 30, 0}));
                    }},
        CommandLine{"FolderWhoseClosingQuoteCmdTookForACharacter",
                    {"delete", "--stale", "--backup-dir", "C:\\temp\" --dry-run"}, ExitCode::Usage, "",
                    "tarvex: --backup-dir takes a folder, not \"C:\\temp\" --dry-run\": in cmd.exe a backslash before a "
                    "closing quote escapes it; end the folder without one (\"C:\\temp\") or double it (\"C:\\temp\\\\\")\r\n"},
        CommandLine{"KeyOfItsConnectionSubkey", {"delete", "--backup", "none", "--key", kSet2Key + "\\Connection"},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyWithATrailingBackslash", {"delete", "--backup", "none", "--key", "HKLM\\" + kSet2Key + "\\"},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyWithTwoTrailingBackslashes", {"delete", "--backup", "none", "--key", kSet2Key + "\\\\"},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyAfterHklm", {"delete", "--backup", "none", "--key", "HKLM\\" + kSet2Key}, ExitCode::Done,
                    kDeletedSet2},
        CommandLine{"KeyAfterTheRootsName", {"delete", "--backup", "none", "--key", "hkey_local_machine\\" + kSet2Key},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyAsPowerShellsDrive", {"delete", "--backup", "none", "--key", "HKLM:\\" + kSet2Key},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyAsPowerShellsProvider",
                    {"delete", "--backup", "none", "--key", "Registry::HKEY_LOCAL_MACHINE\\" + kSet2Key}, ExitCode::Done,
                    kDeletedSet2},
        CommandLine{"KeyFromRegeditsAddressBar",
                    {"delete", "--backup", "none", "--key", "Computer\\HKEY_LOCAL_MACHINE\\" + kSet2Key}, ExitCode::Done,
                    kDeletedSet2},
        CommandLine{"KeyFromAFrenchAddressBar",
                    {"delete", "--backup", "none", "--key", "Ordinateur\\HKEY_LOCAL_MACHINE\\" + kSet2Key},
                    ExitCode::Done, kDeletedSet2},
        CommandLine{"KeyUnderAnotherRoot", {"delete", "--key", "HKCU\\" + kSet2Key}, ExitCode::Usage, "",
                    "tarvex: not the key of a listed connection: HKCU\\" + kSet2Key + "; tarvex list shows the keys\r\n"},
        CommandLine{"NameThatMatchesNothing", {"list", "--name", "Bluetooth"}, ExitCode::Done,
                    "ControlSet\tConnection\t", "tarvex: no connection matches 'Bluetooth'; PATTERN takes * and ?\r\n"},
        CommandLine{"NameThatMatchesOnlyWhatIsNotStale", {"list", "--stale", "--name", "Ethernet"}, ExitCode::Done,
                    "ControlSet\tConnection\t", "", true},
        CommandLine{"CheckSummary", {"check", "--format", "summary"}, ExitCode::StaleFound,
                    "5 stale entries (3 connections): Local Area Connection 2, USB dongle, Caf\\u00e9\r\n", "", true},
        CommandLine{"CheckSummaryOfOneConnection", {"check", "--name", "USB*", "--format", "summary"},
                    ExitCode::StaleFound, "2 stale entries (1 connection): USB dongle\r\n", "", true},
        CommandLine{"EntryWithNoName", {"check", "--format", "summary"}, ExitCode::StaleFound,
                    "5 stale entries (3 connections): Local Area Connection 2, (no name) {3}, Caf\\u00e9\r\n", "", true,
                    [](console_fixture::ConsoleProgram& c) {
                        ASSERT_EQ(kSuccess, SeedConnection(c.registry, console_fixture::kSet1 + "{3}", ""));
                    }},
        CommandLine{"BackupFolderAsTheSystemNamesIt", {"delete", "--stale", "--dry-run", "--backup-dir", "."},
                    ExitCode::Done, "would delete\t",
                    "would write: C:\\Work\\Tarvex-YYYYMMDD-HHMMSS.reg, C:\\Work\\SmallBackup.reg\r\n", false,
                    [](console_fixture::ConsoleProgram& c) { c.files.AddFolder("C:\\Work\\"); }},
        CommandLine{"BackupFolderWithForwardSlashes", {"delete", "--stale", "--dry-run", "--backup-dir", "C:/Tools"},
                    ExitCode::Done, "would delete\t",
                    "would write: C:\\Tools\\Tarvex-YYYYMMDD-HHMMSS.reg, C:\\Tools\\SmallBackup.reg\r\n"},
        CommandLine{"CheckSummaryWithNothingStale", {"check", "--name", "Ether*", "--format", "summary"}, ExitCode::Done,
                    "0 stale entries (0 connections)\r\n", "", true},
        CommandLine{"ListSummaryOfNothing", {"list", "--stale", "--name", "Ethernet", "--format", "summary"},
                    ExitCode::Done, "0 listed\r\n", "", true},
        CommandLine{"ListSummary", {"list", "--name", "E*", "--format", "summary"}, ExitCode::Done,
                    "2 listed: Ethernet (Present), Ethernet (Present)\r\n", "", true},
        CommandLine{"SummaryHoldsTheMessages", {"delete", "--stale", "--format", "summary", "--name", "Nothing*"},
                    ExitCode::Done, "no connection matches 'Nothing*'; PATTERN takes * and ?; 0 to delete\r\n", "", true},
        CommandLine{"VersionInCapitals", {"--VERSION"}, ExitCode::Done, "tarvex " TARVEX_VERSION "\r\n", "", true}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

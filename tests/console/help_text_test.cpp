#include "console/console_fixture.h"
#include "console/help_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvex {
namespace {

using namespace console_fixture;

// The page an admin reads instead of the manual, as the console prints it.
const std::string kListHelp =
    "usage:\r\n"
    "  tarvex list   [--profiles] [--stale [--not-seen-for DAYS]] [--name PATTERN]\r\n"
    "                [--format tsv|json|summary]\r\n"
    "\r\n"
    "Prints every connection entry of the four control sets, one row each:\r\n"
    "control set, connection, adapter (Present, Not present, No device),\r\n"
    "device, key, last seen (UTC) and IPv4 settings.\r\n"
    "\r\n"
    "Options:\r\n"
    "  --profiles           network profiles in place of connection entries: a\r\n"
    "                       profile is stale when it is not connected now and\r\n"
    "                       was last connected at least --not-seen-for days\r\n"
    "                       ago, and one with no date never is; --name\r\n"
    "                       matches its ProfileName\r\n"
    "  --stale              only stale entries: the adapter has no device, or\r\n"
    "                       is not present and was last seen at least\r\n"
    "                       --not-seen-for days ago\r\n"
    "  --not-seen-for DAYS  with --stale: how long a not-present adapter, or a\r\n"
    "                       profile, must have been away, 0 to 36500 (default\r\n"
    "                       30); with 0, entries with no date count too\r\n"
    "  --name PATTERN       only entries whose connection name matches, with\r\n"
    "                       * and ? as wildcards, in any case\r\n"
    "  --format FORMAT      tsv (default): a header line, then a row each;\r\n"
    "                       json: one array of objects, in ASCII;\r\n"
    "                       summary: one line for fleet tools\r\n"
    "\r\n"
    "Examples:\r\n"
    "  tarvex list\r\n"
    "  tarvex list --stale --format json\r\n"
    "  tarvex list --profiles --name \"Network *\"\r\n"
    "\r\n"
    "Exit codes (6 only with --stale):\r\n"
    "  0     listed\r\n"
    "  2     usage error: nothing was read or changed\r\n"
    "  4     no administrator rights\r\n"
    "  6     the network devices could not be listed, so nothing counts\r\n"
    "        as stale; nothing deleted\r\n"
    "  8     standard output could not be written, or an unexpected failure\r\n";

TEST_F(ConsoleProgram, ListHelpSaysEverythingNeededToRunIt) {
    EXPECT_EQ(ExitCode::Done, Run({"list", "/?"}));
    EXPECT_EQ(kListHelp, output.out);
    EXPECT_EQ("", output.err);
    EXPECT_EQ(0, registry.CallCount(RegistryCall::OpenKey)) << "help reads nothing";
}

struct PageLine {
    const char* what;
    const char* command;
    const char* line;  // a whole line the page holds, without its line end
};

class HelpPages : public ::testing::TestWithParam<PageLine> {};

// Each exit code a command can end with is on its page.
TEST_P(HelpPages, HoldTheirLines) {
    const std::string page = "\n" + HelpText(GetParam().command ? std::optional<std::string>(GetParam().command) : std::nullopt);
    EXPECT_NE(std::string::npos, page.find("\n" + std::string(GetParam().line) + "\n")) << page;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HelpPages,
    ::testing::Values(PageLine{"DeleteHalfWritten", "delete", "  10    a hand-over is half written: import its undo file, and do"},
                      PageLine{"DeleteRestart", "delete", "  3010  done; restart Windows to finish uninstalls or a hand-over"},
                      PageLine{"CheckStaleFound", "check", "  1     check found stale entries"},
                      PageLine{"DeleteUndoesOneRun", "delete",
                               "                       that run alone, in PowerShell: reg import 'FILE'"},
                      PageLine{"DeleteProfilesRestoreIn64Bits", "delete",
                               "                       (with /reg:64 after it for profiles)"},
                      PageLine{"CheckNamesEachConnectionOnce", "check",
                               "names them, each connection once (one entry a control set)."},
                      PageLine{"GeneralProfileWithNoDate", nullptr,
                               "and was last connected at least 30 days ago; one with no date never is."}),
    [](const auto& info) { return info.param.what; });

// Every page fits a console of 80 columns.
TEST(HelpText, EveryPageFitsEightyColumns) {
    for (const std::optional<std::string>& command :
         {std::optional<std::string>(), std::optional<std::string>("list"), std::optional<std::string>("check"),
          std::optional<std::string>("delete")}) {
        const std::string pages = HelpText(command);
        std::size_t start = 0;
        for (std::size_t end; (end = pages.find('\n', start)) != std::string::npos; start = end + 1) {
            EXPECT_LE(end - start, 80u) << pages.substr(start, end - start);
        }
    }
}

}  // namespace
}  // namespace tarvex

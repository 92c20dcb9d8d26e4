#include "console/console_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

const std::string kServices1 = "SYSTEM\\\\ControlSet001\\\\Services\\\\";

std::string Escaped(const std::string& text) {
    std::string json;
    for (char c : text) json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return json;
}

// The report in place of the lines: what went, what stayed and why, the
// backup written, the code the run exits with.
TEST_F(ConsoleProgram, DeletionReportIsOneJsonObject) {
    ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet001", "{3}", "10.0.0.9"));
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet2 + "{4}", kSet1 + "{3}", kSet1 + "{1}", "--with-ip-settings",
                                   "--uninstall-devices", "--format", "json"}));
    const std::string settings = "\"" + kServices1 + "Tcpip\\\\Parameters\\\\Interfaces\\\\{3}\",\"" + kServices1 +
                                 "Tcpip\\\\Parameters\\\\Adapters\\\\{3}\",\"" + kServices1 +
                                 "Tcpip6\\\\Parameters\\\\Interfaces\\\\{3}\",\"" + kServices1 +
                                 "NetBT\\\\Parameters\\\\Interfaces\\\\Tcpip_{3}\"";
    EXPECT_EQ("{\"deleted\":[{\"key\":\"" + Escaped(kSet2) + "{4}\",\"connection\":\"Caf\\u00e9\",\"ipSettings\":[]},"
              "{\"key\":\"" + Escaped(kSet1) + "{3}\",\"connection\":\"USB dongle\",\"ipSettings\":[" + settings + "]},"
              "{\"key\":\"" + Escaped(kSet1) + "{1}\",\"connection\":\"Ethernet\",\"ipSettings\":[]}],\r\n"
              "\"uninstalled\":[{\"pnpInstanceId\":\"USB\\\\DONGLE\\\\3\",\"device\":\"ASIX USB\"}],\r\n"
              "\"kept\":[{\"what\":\"PCI\\\\NIC\\\\1\",\"reason\":\"the adapter is present\"}],\r\n"
              "\"failed\":[],\r\n"
              "\"backups\":[\"C:\\\\Tools\\\\SmallBackup.reg\"],\r\n"
              "\"restartNeeded\":false,\r\n\"dryRun\":false,\r\n\"exitCode\":0}\r\n",
              output.out);
    EXPECT_NE(std::string::npos, output.err.find("3 deleted, 0 failed")) << "messages stay on the error stream";
}

struct ReportCase {
    const char* what;
    std::vector<std::string> arguments;  // after delete ... --format json
    std::function<void(ConsoleProgram&)> arrange;
    ExitCode exit;
    std::vector<std::string> parts;  // found in the report
};

class JsonReports : public ConsoleProgram, public ::testing::WithParamInterface<ReportCase> {};

// Every outcome once the arguments are read has its report, with its code;
// a usage error has none.
TEST_P(JsonReports, EveryOutcomeButAUsageErrorHasOne) {
    GetParam().arrange(*this);
    std::vector<std::string> arguments{"delete"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    arguments.insert(arguments.end(), {"--format", "json"});
    EXPECT_EQ(GetParam().exit, Run(arguments));
    if (GetParam().exit == ExitCode::Usage) {
        EXPECT_EQ("", output.out);
        return;
    }
    EXPECT_NE(std::string::npos,
              output.out.find("\"exitCode\":" + std::to_string(static_cast<int>(GetParam().exit)) + "}\r\n"))
        << output.out;
    for (const std::string& part : GetParam().parts) EXPECT_NE(std::string::npos, output.out.find(part)) << part;
}

void Nothing(ConsoleProgram&) {}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, JsonReports,
    ::testing::Values(
        ReportCase{"DryRun", {"--stale", "--uninstall-devices", "--dry-run"}, Nothing, ExitCode::Done,
                   {"\"uninstalled\":[{\"pnpInstanceId\":\"USB\\\\DONGLE\\\\3\"", "\"dryRun\":true", "\"backups\":[]",
                    "{\"key\":\"" + Escaped(kSet2) + "{4}\""}},
        ReportCase{"NothingToDelete", {"--stale", "--name", "Nothing*"}, Nothing, ExitCode::Done,
                   {"{\"deleted\":[],\r\n"}},
        ReportCase{"UnwritableBackup", {"--stale"},
                   [](ConsoleProgram& c) {
                       c.files.SetContent("C:\\Tools\\SmallBackup.reg", "REGEDIT4\r\n\r\n");
                       c.files.SetReadOnly("C:\\Tools\\SmallBackup.reg");
                   },
                   ExitCode::BackupIncomplete, {"{\"deleted\":[],\r\n"}},
        ReportCase{"NoRights", {"--stale"},
                   [](ConsoleProgram& c) {
                       c.registry.SetRights(
                           kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network", {.canRead = true, .canWrite = false});
                   },
                   ExitCode::NoAdminRights, {"{\"deleted\":[],\r\n"}},
        ReportCase{"DevicesNotListed", {"--stale"},
                   [](ConsoleProgram& c) { c.devices.failing = true; },
                   ExitCode::StaleUnknown, {"{\"deleted\":[],\r\n"}},
        ReportCase{"FailedUninstallAndRestart", {"--stale", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) {
                       c.installer.failing.insert("USB\\DONGLE\\3");
                   },
                   ExitCode::DeletionFailed,
                   {"\"failed\":[{\"what\":\"USB\\\\DONGLE\\\\3\",\"error\":\"SetupDiCallClassInstaller failed with "
                    "error 5: Access is denied.\"}]"}},
        ReportCase{"RestartNeeded", {"--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) {
                       c.installer.needsRestart.insert("USB\\DONGLE\\3");
                   },
                   ExitCode::RestartNeeded, {"\"restartNeeded\":true"}},
        ReportCase{"UsageError", {"--key", "SYSTEM\\Select"}, Nothing, ExitCode::Usage, {}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

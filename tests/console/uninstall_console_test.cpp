#include "console/console_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

// {3}'s adapter (USB\DONGLE\3, "ASIX USB") is not present; it shows under
// CurrentControlSet and ControlSet001, which are one key.
class UninstallConsole : public ConsoleProgram {};

TEST_F(UninstallConsole, UninstallsEachAbsentDeviceOnceAfterItsEntry) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--uninstall-devices", "--backup", "none"}));
    EXPECT_EQ("deleted\t" + kCurrent + "{2}\r\ndeleted\t" + kCurrent + "{3}\r\nuninstalled\tUSB\\DONGLE\\3\r\ndeleted\t" +
                  kSet1 + "{2}\r\ndeleted\t" + kSet1 + "{3}\r\ndeleted\t" + kSet2 + "{4}\r\n",
              output.out);
    EXPECT_EQ("5 deleted, 0 failed; devices: 1 uninstalled, 0 failed, 0 kept\r\n"
              "deleted: Local Area Connection 2, USB dongle, Caf\xC3\xA9; no backup written\r\n", output.err);
    EXPECT_EQ(std::vector<AnsiText>{"USB\\DONGLE\\3"}, installer.uninstalled);
}

struct DeviceRun {
    const char* what;
    std::vector<std::string> arguments;
    std::function<void(UninstallConsole&)> arrange;
    ExitCode exit;
    std::string out;  // after the entries' lines
    std::string err;  // found on the error stream
};

class DeviceRuns : public UninstallConsole, public ::testing::WithParamInterface<DeviceRun> {};

// A kept device is no failure; a failed uninstall is, and a restart has its own code.
TEST_P(DeviceRuns, SayWhatBecameOfTheDevice) {
    GetParam().arrange(*this);
    EXPECT_EQ(GetParam().exit, Run(GetParam().arguments));
    EXPECT_NE(std::string::npos, output.out.find(GetParam().out)) << output.out;
    EXPECT_NE(std::string::npos, output.err.find(GetParam().err)) << output.err;
}

void Nothing(UninstallConsole&) {}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DeviceRuns,
    ::testing::Values(
        DeviceRun{"Failed", {"delete", "--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                  [](UninstallConsole& c) { c.installer.failing.insert("USB\\DONGLE\\3"); }, ExitCode::DeletionFailed,
                  "deleted\t" + kSet1 + "{3}\r\n",
                  "tarvex: could not uninstall USB\\DONGLE\\3: SetupDiCallClassInstaller failed with error 5: Access is "
                  "denied.\r\n"},
        DeviceRun{"RestartNeeded", {"delete", "--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                  [](UninstallConsole& c) { c.installer.needsRestart.insert("USB\\DONGLE\\3"); }, ExitCode::RestartNeeded,
                  "uninstalled\tUSB\\DONGLE\\3\r\n", "tarvex: Windows asks for a restart to finish the uninstall\r\n"},
        DeviceRun{"PluggedInSince", {"delete", "--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                  [](UninstallConsole& c) { c.installer.pluggedIn.insert("USB\\DONGLE\\3"); }, ExitCode::Done, "",
                  "kept device\tUSB\\DONGLE\\3\tconnected since the scan\r\n"},
        DeviceRun{"Present", {"delete", "--key", kSet1 + "{1}", "--uninstall-devices", "--backup", "none"}, Nothing,
                  ExitCode::Done, "deleted\t" + kSet1 + "{1}\r\n", "kept device\tPCI\\NIC\\1\tthe adapter is present\r\n"},
        DeviceRun{"StaticGhostWithNowhereToGo",
                  {"delete", "--key", kCurrent + "{3}", "--with-ip-settings", "--uninstall-devices", "--hand-over", "--backup", "none"},
                  [](UninstallConsole& c) { ASSERT_EQ(kSuccess, SeedIpSettings(c.registry, "ControlSet001", "{3}", "10.0.0.9")); },
                  ExitCode::HandOverFailed, "",
                  "kept device\tUSB\\DONGLE\\3\tits static IPv4 settings cannot be handed over: no present adapter can "
                  "take them\r\n"},
        DeviceRun{"DryRun", {"delete", "--stale", "--uninstall-devices", "--dry-run"}, Nothing, ExitCode::Done,
                  "would delete\t" + kCurrent + "{3}\r\nwould uninstall\tUSB\\DONGLE\\3\r\nwould delete\t" + kSet1 + "{2}\r\n",
                  "5 to delete; dry run"}),
    [](const auto& info) { return info.param.what; });

TEST_F(UninstallConsole, DryRunAndListAndCheckUninstallNothing) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--uninstall-devices", "--dry-run"}));
    for (const char* command : {"list", "check"}) {
        output = {};
        EXPECT_EQ(ExitCode::Usage, Run({command, "--uninstall-devices"}));
        EXPECT_EQ(0u, output.err.find("tarvex: unknown option for " + std::string(command) + ": --uninstall-devices\r\n"));
    }
    EXPECT_TRUE(installer.uninstalled.empty());
    EXPECT_TRUE(installer.checked.empty());
    EXPECT_TRUE(Exists(kSet1 + "{3}"));
}

}  // namespace
}  // namespace tarvex

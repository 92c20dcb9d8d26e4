#include "console/console_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

const std::string kCurrentServices = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string kServices1 = "SYSTEM\\ControlSet001\\Services\\";
const std::string kServices2 = "SYSTEM\\ControlSet002\\Services\\";

std::string IpLines(const std::string& prefix, const std::string& services, const std::string& guid,
                    const std::string& suffix = "") {
    std::string lines;
    for (const std::string& key : {services + "Tcpip\\Parameters\\Interfaces\\" + guid,
                                   services + "Tcpip\\Parameters\\Adapters\\" + guid,
                                   services + "Tcpip6\\Parameters\\Interfaces\\" + guid,
                                   services + "NetBT\\Parameters\\Interfaces\\Tcpip_" + guid}) {
        lines += prefix + key + suffix + "\r\n";
    }
    return lines;
}

// Every entry but ControlSet002's {4} shows twice (CurrentControlSet is
// ControlSet001); each has its IP settings. {2} and {4} have no device, {3}'s
// is not present, {1}'s is.
class IpSettingsConsole : public ConsoleProgram {
protected:
    void SetUp() override {
        ConsoleProgram::SetUp();
        for (const char* guid : {"{1}", "{2}", "{3}"}) {
            ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet001", guid, "10.0.0.9"));
        }
        ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet002", "{4}", "10.0.0.9"));
    }
    bool Settings(const std::string& services, const std::string& guid) const {
        return Exists(services + "Tcpip\\Parameters\\Interfaces\\" + guid);
    }
};

// A script that feeds "deleted" paths back to --key gets only entries.
TEST_F(IpSettingsConsole, DeletesTheSettingsOfEntriesWithoutADeviceAndNamesWhatItKeeps) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--with-ip-settings", "--backup", "none"}));
    const std::string stillInstalled = "\tthe adapter is not present but still installed";
    EXPECT_EQ("deleted\t" + kCurrent + "{2}\r\n" + IpLines("deleted ip settings\t", kCurrentServices, "{2}") +
                  "deleted\t" + kCurrent + "{3}\r\n" + "deleted\t" + kSet1 + "{2}\r\n" +
                  IpLines("deleted ip settings\t", kServices1, "{2}") + "deleted\t" + kSet1 + "{3}\r\n" +
                  "deleted\t" + kSet2 + "{4}\r\n" + IpLines("deleted ip settings\t", kServices2, "{4}"),
              output.out);
    EXPECT_EQ(IpLines("kept ip settings\t", kCurrentServices, "{3}", stillInstalled) +
                  IpLines("kept ip settings\t", kServices1, "{3}", stillInstalled) +
                  "5 deleted, 0 failed; ip settings: 12 deleted, 0 failed, 8 kept\r\n"
                  "deleted: Local Area Connection 2, USB dongle, Caf\xC3\xA9; no backup written\r\n",
              output.err);
    EXPECT_FALSE(Settings(kServices1, "{2}"));
    EXPECT_FALSE(Settings(kServices2, "{4}"));
    EXPECT_TRUE(Settings(kServices1, "{3}"));
    EXPECT_TRUE(Settings(kServices1, "{1}")) << "a present adapter's live configuration";
}

TEST_F(IpSettingsConsole, DryRunNamesWhatWouldGoAndWhatStays) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet1 + "{2}", kSet1 + "{1}", "--with-ip-settings", "--dry-run"}));
    EXPECT_EQ("would delete\t" + kSet1 + "{2}\r\n" + IpLines("would delete ip settings\t", kServices1, "{2}") +
                  "would delete\t" + kSet1 + "{1}\r\n",
              output.out);
    EXPECT_EQ(IpLines("kept ip settings\t", kServices1, "{1}", "\tthe adapter is present") +
                  "2 to delete; dry run, nothing written or deleted\r\n"
                  "would delete: Local Area Connection 2, Ethernet; would write: C:\\Tools\\Tarvex-YYYYMMDD-HHMMSS.reg, "
                  "C:\\Tools\\SmallBackup.reg\r\n",
              output.err);
    EXPECT_TRUE(Settings(kServices1, "{2}"));
    EXPECT_TRUE(Exists(kSet1 + "{2}"));
}

TEST_F(IpSettingsConsole, SettingsThatStayAreAFailedDeletion) {
    const std::string adapters = kServices2 + "Tcpip\\Parameters\\Adapters\\{4}";
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, adapters + "\\Held"));
    registry.SetRights(kLocalMachine, adapters + "\\Held", {.canRead = true, .canWrite = false});
    EXPECT_EQ(ExitCode::DeletionFailed, Run({"delete", "--key", kSet2 + "{4}", "--with-ip-settings", "--backup", "none"}));
    EXPECT_NE(std::string::npos, output.err.find("tarvex: could not delete ip settings " + adapters + "\r\n"));
    EXPECT_NE(std::string::npos, output.err.find("1 deleted, 0 failed; ip settings: 3 deleted, 1 failed, 0 kept\r\n"));
}

TEST_F(IpSettingsConsole, OnlyDeleteTakesTheOption) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"list", "--with-ip-settings"}, {"check", "--with-ip-settings"}}) {
        output = {};
        EXPECT_EQ(ExitCode::Usage, Run(command));
        EXPECT_EQ(0u, output.err.find("tarvex: unknown option for " + command[0] + ": --with-ip-settings\r\n"));
    }
}

}  // namespace
}  // namespace tarvex

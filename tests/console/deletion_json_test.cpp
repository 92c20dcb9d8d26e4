#include "console/console_fixture.h"
#include "support/utf16_text.h"

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
              "\"uninstalled\":[{\"pnpInstanceId\":\"USB\\\\DONGLE\\\\3\",\"device\":\"ASIX USB\",\"removedWithDevice\":[]}],\r\n"
              "\"kept\":[{\"what\":\"PCI\\\\NIC\\\\1\",\"reason\":\"the adapter is present\"}],\r\n"
              "\"failed\":[],\r\n"
              "\"left\":[],\r\n"
              "\"backups\":[\"C:\\\\Tools\\\\Tarvex-20261208-070509.reg\",\"C:\\\\Tools\\\\SmallBackup.reg\"],\r\n"
              "\"restartNeeded\":false,\r\n\"dryRun\":false,\r\n\"handOver\":null,\r\n\"exitCode\":0}\r\n",
              output.out);
    EXPECT_NE(std::string::npos, output.err.find("3 deleted, 0 failed")) << "messages stay on the error stream";
}

struct ReportCase {
    const char* what;
    std::vector<std::string> arguments;  // after delete ... --format json
    std::function<void(ConsoleProgram&)> arrange;
    ExitCode exit;
    std::vector<std::string> parts;  // found in the report
    std::vector<std::string> lines;  // found in what the same run prints without --format json
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
    // The lines come from the same run in a registry of its own.
    ExpectLinesWithoutJson<ConsoleProgram>(GetParam().arrange, arguments, GetParam().exit, GetParam().lines);
}

const std::string kDongle = "USB\\DONGLE\\3";
const std::string kSettings3 = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\{3}";
const std::string kCurrentSettings3 = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{3}";
const std::string kServices2 = "SYSTEM\\ControlSet002\\Services\\";
const std::vector<std::string> kUninstallDongle = {"--key", kSet1 + "{3}", "--with-ip-settings", "--uninstall-devices",
                                                   "--backup", "none"};

const std::vector<std::string> kHandOver = {"--stale", "--with-ip-settings", "--hand-over", "--backup", "none"};
const std::string kGhostSettings = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{2}";
const std::string kSuccessorSettings = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{5}";
const std::string kUndoFile = "C:\\Tools\\HandOver-20261208-070509.reg";

void Settings3(ConsoleProgram& c) { ASSERT_EQ(kSuccess, SeedIpSettings(c.registry, "ControlSet001", "{3}", "10.0.0.9")); }

// {4}'s Adapters key cannot be deleted; the other three can.
void HeldAdapters4(ConsoleProgram& c) {
    ASSERT_EQ(kSuccess, SeedIpSettings(c.registry, "ControlSet002", "{4}", "10.0.0.9"));
    const std::string held = kServices2 + "Tcpip\\Parameters\\Adapters\\{4}\\Held";
    ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, held));
    c.registry.SetRights(kLocalMachine, held, {.canRead = true, .canWrite = false});
}

std::string Kept(const std::string& what, const std::string& reason) {
    return "{\"what\":\"" + Escaped(what) + "\",\"reason\":\"" + reason + "\"}";
}

void Nothing(ConsoleProgram&) {}

// {4} holds a value named "Сеть", which the ANSI code page cannot carry.
void ValueNamedInCyrillic(ConsoleProgram& c) {
    ASSERT_EQ(kSuccess, c.registry.SetValueWide(kLocalMachine, kSet2 + "{4}\\Connection", "\xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C",
                                                kRegSz, Utf16Le("x") + "\0\0"s));
}

// {3} has a subkey that cannot be read.
void LockedSubkeyOf3(ConsoleProgram& c) {
    ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"));
    c.registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked", {.canRead = false});
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, JsonReports,
    ::testing::Values(
        ReportCase{"DryRun", {"--stale", "--uninstall-devices", "--dry-run"}, Nothing, ExitCode::Done,
                   {"\"uninstalled\":[{\"pnpInstanceId\":\"USB\\\\DONGLE\\\\3\",\"device\":\"ASIX USB\",\"removedWithDevice\":[]}],\r\n",
                    "\"dryRun\":true", "\"backups\":[]", "{\"key\":\"" + Escaped(kSet2) + "{4}\""}},
        ReportCase{"DryRunWithNothingToDelete", {"--stale", "--name", "Nothing*", "--dry-run"}, Nothing, ExitCode::Done,
                   {"\"dryRun\":true"}, {"0 to delete; dry run, nothing written or deleted"}},
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
        ReportCase{"UsageError", {"--key", "SYSTEM\\Select"}, Nothing, ExitCode::Usage, {}},
        // Each outcome a run decides as it goes, in the list it belongs to.
        ReportCase{"SettingsKeptWhenPluggedIn", kUninstallDongle,
                   [](ConsoleProgram& c) {
                       Settings3(c);
                       c.installer.pluggedIn.insert(kDongle);
                   },
                   ExitCode::Done,
                   {Kept(kSettings3, "connected since the scan"), Kept(kDongle, "connected since the scan")},
                   {"kept ip settings\t" + kSettings3 + "\tconnected since the scan",
                    "kept device\t" + kDongle + "\tconnected since the scan"}},
        ReportCase{"PresenceUnknownNamesTheCall", kUninstallDongle,
                   [](ConsoleProgram& c) {
                       Settings3(c);
                       c.installer.uncheckable.insert(kDongle);
                   },
                   ExitCode::Done,
                   {Kept(kDongle, "whether the adapter is present could not be checked: CM_Get_DevNode_Status failed "
                                  "with error 19")},
                   {"kept device\t" + kDongle +
                    "\twhether the adapter is present could not be checked: CM_Get_DevNode_Status failed with error 19"}},
        ReportCase{"EntryThatStaysKeepsItsDevice", {"--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) {
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Ndi"));
                       c.registry.SetRights(kLocalMachine, kSet1 + "{3}\\Ndi", {.canRead = true, .canWrite = false});
                   },
                   ExitCode::DeletionFailed,
                   {"{\"what\":\"" + Escaped(kSet1) + "{3}\",\"error\":\"still there after the deletion\"}",
                    Kept(kDongle, "its entry was not deleted")},
                   {"tarvex: could not delete " + kSet1 + "{3}", "kept device\t" + kDongle + "\tits entry was not deleted"}},
        ReportCase{"FailedSettingsAreNeverDeleted", {"--key", kSet2 + "{4}", "--with-ip-settings", "--backup", "none"},
                   HeldAdapters4, ExitCode::DeletionFailed,
                   {"\"ipSettings\":[\"" + Escaped(kServices2) + "Tcpip\\\\Parameters\\\\Interfaces\\\\{4}\",\"" +
                        Escaped(kServices2) + "Tcpip6\\\\Parameters\\\\Interfaces\\\\{4}\",\"" + Escaped(kServices2) +
                        "NetBT\\\\Parameters\\\\Interfaces\\\\Tcpip_{4}\"]}",
                    "\"failed\":[{\"what\":\"" + Escaped(kServices2) + "Tcpip\\\\Parameters\\\\Adapters\\\\{4}\""},
                   {"tarvex: could not delete ip settings " + kServices2 + "Tcpip\\Parameters\\Adapters\\{4}"}},
        ReportCase{"StopLeavesEntriesSettingsAndDevices", {"--stale", "--with-ip-settings", "--uninstall-devices"},
                   [](ConsoleProgram& c) {
                       ASSERT_EQ(kSuccess, SeedIpSettings(c.registry, "ControlSet002", "{4}", "10.0.0.9"));
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"));
                       c.registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked", {.canRead = false});
                   },
                   ExitCode::BackupIncomplete,
                   {"{\"what\":\"" + Escaped(kCurrent) +
                        "{3}\",\"reason\":\"a backup was incomplete (--force goes on without it)\"}",
                    "{\"what\":\"" + Escaped(kDongle) + "\",\"reason\""},
                   {"left\t" + kSet2 + "{4}", "left ip settings\t" + kServices2 + "Tcpip\\Parameters\\Interfaces\\{4}",
                    "left device\t" + kDongle}},
        ReportCase{"HandedOver", kHandOver, [](ConsoleProgram& c) { c.StaticGhostAndSuccessor(); },
                   ExitCode::RestartNeeded,
                   {"\"handOver\":{\"done\":true,\"partial\":false,\"planned\":false,\"heldBy\":null,\"from\":\"" + Escaped(kGhostSettings) + "\",\"to\":\"" +
                        Escaped(kSuccessorSettings) +
                        "\",\"settings\":{\"IPAddress\":\"10.0.0.9\",\"SubnetMask\":\"255.255.255.0\",\"DefaultGateway\":\"10.0.0.1\","
                        "\"NameServer\":\"10.0.0.2,10.0.0.3\",\"EnableDHCP\":\"0\"},\"undoFile\":\"" +
                        Escaped(kUndoFile) + "\",\"freeName\":\"Local Area Connection 2\"},\r\n\"exitCode\":3010}",
                    "\"backups\":[\"" + Escaped(kUndoFile) + "\"]", "\"restartNeeded\":true"},
                   {"handed over\t" + kGhostSettings + "\t" + kSuccessorSettings +
                        "\t10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3",
                    "tarvex: the connection name 'Local Area Connection 2' is free now; to give it to the adapter that "
                    "took the settings, in PowerShell: Get-NetAdapter | Where-Object InterfaceGuid -eq '{5}' | "
                    "Rename-NetAdapter -NewName 'Local Area Connection 2'",
                    "tarvex: it takes effect when Windows restarts; to undo it, in PowerShell: reg import '" + kUndoFile +
                        "', then restart",
                    "tarvex: Windows asks for a restart to finish the hand-over"}},
        ReportCase{"WouldHandOver", {"--stale", "--with-ip-settings", "--hand-over", "--dry-run"},
                   [](ConsoleProgram& c) { c.StaticGhostAndSuccessor(); }, ExitCode::Done,
                   {"\"handOver\":{\"done\":false,\"partial\":false,\"planned\":true,\"heldBy\":null,\"from\"", "\"undoFile\":null"},
                   {"would hand over\t" + kGhostSettings + "\t" + kSuccessorSettings +
                    "\t10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3"}},
        ReportCase{"NothingToHandOver", kHandOver, Nothing, ExitCode::Done,
                   {"\"handOver\":{\"done\":false,\"partial\":false,\"planned\":false,\"reason\":\"no selected entry of a gone adapter has static IPv4 "
                    "settings\",\"heldBy\":null,\"from\":null,\"to\":null,\"settings\":{},\"undoFile\":null,\"freeName\":null}"},
                   {"tarvex: nothing to hand over: no selected entry of a gone adapter has static IPv4 settings"}},
        ReportCase{"NoSuccessorKeepsTheGhostWhole", kHandOver, [](ConsoleProgram& c) { ConsoleProgram::StaticGhost(c.registry); },
                   ExitCode::HandOverFailed,
                   {"\"done\":false,\"partial\":false,\"planned\":false,\"reason\":\"no present adapter can take them\"",
                    Kept(kCurrent + "{2}", "its static IPv4 settings cannot be handed over: no present adapter can take them"),
                    "{\"deleted\":[{\"key\":\"" + Escaped(kCurrent) + "{3}\""},
                   {"tarvex: nothing handed over: no present adapter can take them",
                    "kept\t" + kCurrent + "{2}\tits static IPv4 settings cannot be handed over: no present adapter can take them",
                    "3 deleted, 0 failed, 2 kept; ip settings: 0 deleted, 0 failed, 8 kept"}},
        ReportCase{"AddressHeldAlready", kHandOver,
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       const std::string successor = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\{5}";
                       ASSERT_EQ(kSuccess, c.registry.SetValue(kLocalMachine, successor, "EnableDHCP", kRegDword, "\0\0\0\0"s));
                       ASSERT_EQ(kSuccess, c.registry.SetValue(kLocalMachine, successor, "IPAddress", kRegMultiSz,
                                                               "10.0.0.9\0\0"s));
                   },
                   ExitCode::Done, {"\"heldBy\":\"Ethernet 2 (Intel I219-V, {5})\"", "{\"key\":\"" + Escaped(kCurrent) + "{2}\""},
                   {"tarvex: nothing to hand over: Ethernet 2 (Intel I219-V, {5}) has 10.0.0.9 already"}},
        ReportCase{"ForcedPastAnIncompleteBackupStillHandsOver", {"--stale", "--with-ip-settings", "--hand-over", "--force"},
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet2 + "{4}\\Locked"));
                       c.registry.SetRights(kLocalMachine, kSet2 + "{4}\\Locked", {.canRead = false});
                   },
                   ExitCode::DoneWithIncompleteBackup, {"\"handOver\":{\"done\":true"}},
        ReportCase{"NameOutsideTheCodePageIsLeftToTheRunsOwnFile", {"--key", kSet2 + "{4}"}, ValueNamedInCyrillic,
                   ExitCode::Done, {"\"backups\":[\"C:\\\\Tools\\\\Tarvex-20261208-070509.reg\"]"},
                   {"tarvex: " + kSet2 + "{4} is not in SmallBackup.reg, which cannot hold its names or texts exactly; "
                    "C:\\Tools\\Tarvex-20261208-070509.reg holds it"}},
        ReportCase{"DryRunKnowsTheRunsOwnFileWouldHoldIt", {"--key", kSet2 + "{4}", "--dry-run"}, ValueNamedInCyrillic,
                   ExitCode::Done, {"\"dryRun\":true"},
                   {"tarvex: " + kSet2 + "{4} would not be in SmallBackup.reg, which cannot hold its names or texts "
                    "exactly; the run's own file would hold it"}},
        ReportCase{"DryRunOfANameLostInAKeyNoFileHoldsWhole", {"--key", kSet2 + "{4}", "--dry-run"},
                   [](ConsoleProgram& c) {
                       ValueNamedInCyrillic(c);
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet2 + "{4}\\Locked"));
                       c.registry.SetRights(kLocalMachine, kSet2 + "{4}\\Locked", {.canRead = false});
                   },
                   ExitCode::BackupIncomplete, {"\"dryRun\":true"},
                   {"tarvex: the backup of " + kSet2 + "{4} would be incomplete; the run would stop there"}},
        ReportCase{"DryRunStopsWhereTheRunWould", {"--stale", "--dry-run"}, LockedSubkeyOf3, ExitCode::BackupIncomplete,
                   {"\"dryRun\":true"},
                   {"tarvex: the backup of " + kCurrent + "{3} would be incomplete; the run would stop there"}},
        ReportCase{"ForcedDryRunGoesOnAsTheRunWould", {"--stale", "--dry-run", "--force"}, LockedSubkeyOf3,
                   ExitCode::DoneWithIncompleteBackup, {"\"dryRun\":true"},
                   {"tarvex: the backup of " + kCurrent + "{3} would be incomplete; --force would go on"}},
        ReportCase{"DryRunOfAFullBackupReadsEveryNetworkTree", {"--stale", "--dry-run", "--backup", "full"},
                   [](ConsoleProgram& c) {
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet1 + "{1}\\Locked"));
                       c.registry.SetRights(kLocalMachine, kSet1 + "{1}\\Locked", {.canRead = false});
                   },
                   ExitCode::BackupIncomplete, {"\"dryRun\":true"},
                   {"tarvex: the backup of SYSTEM\\CurrentControlSet\\Control\\Network would be incomplete; the run "
                    "would stop there"}},
        ReportCase{"DryRunKnowsTheRunsOwnFileWouldNotBeWhole", {"--stale", "--dry-run", "--backup", "full"},
                   [](ConsoleProgram& c) { c.registry.InjectFault({RegistryCall::EnumValueW, 5, 0}); },
                   ExitCode::BackupIncomplete, {"\"dryRun\":true"},
                   {"tarvex: the run's own backup would not hold every key whole; the run would stop there"}},
        ReportCase{"DryRunStoppedBeforeItsPlan", {"--stale", "--dry-run"},
                   [](ConsoleProgram& c) {
                       c.registry.SetRights(
                           kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network", {.canRead = true, .canWrite = false});
                   },
                   ExitCode::NoAdminRights, {"\"dryRun\":true"}},
        ReportCase{"PutBackAfterAFailedWrite", kHandOver,
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       c.registry.InjectFault({RegistryCall::SetValue, 5, 2});
                   },
                   ExitCode::HandOverFailed,
                   {"\"done\":false,\"partial\":false,\"planned\":false,\"reason\":\"writing DefaultGateway gave status 5; "
                    "the values written before it were put back as they were\"",
                    "\"undoFile\":\"" + Escaped(kUndoFile) + "\""},
                   {"tarvex: nothing handed over: writing DefaultGateway gave status 5; the values written before it were "
                    "put back as they were",
                    "tarvex: should the new adapter still differ, in PowerShell: reg import '" + kUndoFile + "'"}},
        ReportCase{"HalfWritten", kHandOver,
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       c.registry.InjectFault({RegistryCall::SetValue, 5, 2});
                       c.registry.InjectFault({RegistryCall::DeleteValue, 5, 0});
                   },
                   ExitCode::HandOverPartial,
                   {"\"done\":false,\"partial\":true,\"planned\":false,\"reason\":\"writing DefaultGateway gave status 5, "
                    "and putting SubnetMask back gave status 5\"",
                    "\"restartNeeded\":false"},
                   {"tarvex: the hand-over to Ethernet 2 (Intel I219-V, {5}) is half written and could not be put back: "
                    "writing DefaultGateway gave status 5, and putting SubnetMask back gave status 5; to give the adapter "
                    "back its values, in PowerShell: reg import '" + kUndoFile + "', then restart"}},
        ReportCase{"FreeNameNotReadExactly", kHandOver,
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       ASSERT_EQ(kSuccess, c.registry.SetValue(kLocalMachine, kSet1 + "{2}\\Connection", "Name", kRegBinary, "\x01"s));
                   },
                   ExitCode::RestartNeeded, {"\"done\":true", "\"freeName\":null}"},
                   {"tarvex: the connection name '01,00' is free now, but the ghost's connection name is not a text (type "
                    "3), so no command to take it is given"}},
        ReportCase{"UndoFileCannotBeMade", kHandOver,
                   [](ConsoleProgram& c) {
                       c.StaticGhostAndSuccessor();
                       c.files.FailOpensFrom(1);
                   },
                   ExitCode::BackupIncomplete,
                   {"{\"deleted\":[],", "\"reason\":\"the hand-over's undo file cannot be created in C:\\\\Tools\\\\\""},
                   {"tarvex: cannot create the hand-over's undo file in C:\\Tools\\; nothing deleted"}},
        ReportCase{"WhatTheUninstallTookIsNamedWithIt",
                   {"--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) {
                       Settings3(c);
                       c.installer.whileUninstalling = [&c] { c.registry.SHDeleteKeyA(kLocalMachine, kCurrentSettings3); };
                   },
                   ExitCode::Done, {"\"removedWithDevice\":[\"" + Escaped(kCurrentSettings3) + "\"]"},
                   {"uninstalled\t" + kDongle, "removed with device\t" + kCurrentSettings3}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

#include "form1_harness.h"
#include "window/deletion.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"
#include "registry/mod_reg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace tarvex {
namespace {

const std::string kNetwork = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
// With the uninstall, the gone {1} and the uninstalled {4} both have static settings.
// The summary's last part, where there is a summary.
const std::string kRunFile =
    "\n\nWhat was deleted is saved in C:\\Tarvex\\Tarvex-20261208-070509.reg. To restore it, run in PowerShell:\n"
    "reg import 'C:\\Tarvex\\Tarvex-20261208-070509.reg'";
const std::string kTwoGhosts =
    "No IPv4 settings were handed over: several selected ghosts have static IPv4 settings: Old USB ({1}), Dock (Dock "
    "NIC, {4}); select only one of them.";

// {1} names an adapter with no device, {2} a present one, {3} none, {4}
// one that is not present; each has its IP settings.
class IpSettingsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{1}", "Old USB", "USB\\GONE\\1"));
        ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{2}", "Ethernet", "PCI\\NIC\\2"));
        ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{3}", "VPN"));
        ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{4}", "Dock", "USB\\DOCK\\4"));
        for (const char* guid : {"{1}", "{2}", "{3}", "{4}"}) {
            ASSERT_EQ(kSuccess, SeedIpSettings(h.registry, "CurrentControlSet", guid, "10.0.0.9"));
        }
        h.devices.present.push_back({"PCI\\NIC\\2", "Intel"});
        h.devices.phantoms = {{"USB\\DOCK\\4", "Dock NIC"}};
        h.form.Load("C:\\Tarvex");
        h.form.cmdReadClick();
        for (int row = 0; row < h.list.RowCount(); ++row) h.list.SetChecked(row, true);
    }
    bool Settings(const char* guid) const { return h.registry.KeyExists(kLocalMachine, kInterfaces + guid); }

    Form1Harness<> h;
};

// The gone {1}'s static settings have nowhere to go: asked first, and Yes deletes them as ticked.
TEST_F(IpSettingsWindow, TickedBoxDeletesOnlyAGoneAdaptersSettingsAndOneBoxSaysWhatStayed) {
    h.checks.ipSettings = true;
    h.messages.yesNoAnswers = {MessageAnswer::Yes};
    h.form.comDelClick();
    EXPECT_EQ(0, h.list.RowCount());
    EXPECT_FALSE(Settings("{1}"));
    EXPECT_TRUE(Settings("{2}"));
    EXPECT_TRUE(Settings("{3}"));
    EXPECT_TRUE(Settings("{4}")) << "its device stays installed";
    ASSERT_EQ(2u, h.messages.shown.size());
    EXPECT_EQ("The gone adapter Old USB (no device) has static IPv4 settings:\n"
              "10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3\n\n"
              "They cannot be handed over: no present adapter can take them.\n\nSmallBackup.reg will hold them.\n\n"
              "Delete them as ticked? No keeps Old USB whole, with its entries, IP settings and adapter, and deletes "
              "the other ticked rows.",
              h.messages.shown[0].text);
    EXPECT_EQ(MessageButtons::YesNoDefaultNo, h.messages.shown[0].buttons);
    EXPECT_EQ("3 deleted entries keep their IP settings:\n1: the adapter is present\n"
              "1: the adapter is not present but still installed\n1: the entry names no adapter\n\n"
              "No IPv4 settings were handed over: no present adapter can take them." + kRunFile,
              h.messages.shown[1].text);
    EXPECT_EQ(MessageIcon::Information, h.messages.shown[1].icon);
    EXPECT_EQ(MessageButtons::Ok, h.messages.shown[1].buttons);
}

// Unticked, as the window opens: the deletion neither asks the devices nor touches the settings.
TEST_F(IpSettingsWindow, UntickedBoxLeavesEverySettingAndShowsNothing) {
    const int queriesOfTheScan = h.devices.queries;
    h.form.comDelClick();
    EXPECT_EQ(0, h.list.RowCount());
    for (const char* guid : {"{1}", "{2}", "{3}", "{4}"}) EXPECT_TRUE(Settings(guid));
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(queriesOfTheScan, h.devices.queries) << "nor does the rescan, which finds no row";
}

// No backup brings an uninstalled adapter back: one question before anything
// is written, No by default, and No deletes nothing.
TEST_F(IpSettingsWindow, UninstallIsAskedFirstAndNoDeletesNothing) {
    h.checks.uninstall = true;
    h.messages.yesNoAnswers = {MessageAnswer::No};
    h.form.comDelClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ(UninstallQuestion(1), h.messages.shown[0].text);
    EXPECT_EQ(0u, h.messages.shown[0].text.find("1 absent adapter will be uninstalled. No backup can bring"));
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[0].icon);
    EXPECT_EQ(MessageButtons::YesNoDefaultNo, h.messages.shown[0].buttons);
    EXPECT_EQ(4, h.list.RowCount());
    EXPECT_TRUE(h.registry.KeyExists(kLocalMachine, kNetwork + "{4}"));
    EXPECT_EQ(0, h.files.OpenCount()) << "no backup written";
    EXPECT_TRUE(h.installer.uninstalled.empty());
}

// One summary covers the settings and adapters kept, and the restart.
TEST_F(IpSettingsWindow, YesUninstallsAndOneBoxSumsUp) {
    h.checks.uninstall = true;
    h.checks.ipSettings = true;
    h.installer.needsRestart.insert("USB\\DOCK\\4");
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
    h.form.comDelClick();
    EXPECT_EQ(std::vector<AnsiText>{"USB\\DOCK\\4"}, h.installer.uninstalled);
    EXPECT_FALSE(Settings("{4}"));
    ASSERT_EQ(3u, h.messages.shown.size());
    EXPECT_EQ(0u, h.messages.shown[0].text.find("The gone adapters have static IPv4 settings:\nOld USB (no device): "
                                                "10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3\nDock (Dock NIC): "))
        << h.messages.shown[0].text;
    EXPECT_EQ("2 deleted entries keep their IP settings:\n1: the adapter is present\n1: the entry names no adapter\n\n"
              "1 adapter was uninstalled:\nDock NIC, USB\\DOCK\\4\n\n1 adapter was kept installed:\nIntel, PCI\\NIC\\2: the adapter is present\n\n"
              "Windows asks for a restart to finish uninstalling the adapters.\n\n" + kTwoGhosts + kRunFile,
              h.messages.shown[2].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[2].icon);
}


// After a stop the list stays as it was, but what already happened is told:
// the adapter uninstalled, the entry that stayed (whose settings a deleted
// entry's count leaves out), and what the stop left.
TEST_F(IpSettingsWindow, StopAfterAnUninstallStillSaysWhatHappened) {
    ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{5}", "Last", "USB\\GONE\\5"));
    ASSERT_EQ(kSuccess, h.registry.CreateKey(kLocalMachine, kNetwork + "{5}\\Locked"));
    h.registry.SetRights(kLocalMachine, kNetwork + "{5}\\Locked", {.canRead = false});
    ASSERT_EQ(kSuccess, h.registry.CreateKey(kLocalMachine, kNetwork + "{2}\\Ndi"));
    h.registry.SetRights(kLocalMachine, kNetwork + "{2}\\Ndi", {.canRead = true, .canWrite = false});
    h.form.cmdReadClick();
    for (int row = 0; row < h.list.RowCount(); ++row) h.list.SetChecked(row, true);
    h.checks.uninstall = true;
    h.checks.ipSettings = true;
    // Deleting without hand-over, the uninstall, the run's own file that {5} leaves incomplete, then No.
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No};
    h.form.comDelClick();
    EXPECT_EQ(5, h.list.RowCount()) << "no rescan after a stop";
    ASSERT_EQ(7u, h.messages.shown.size());
    EXPECT_EQ("1 deleted entry keeps its IP settings:\n1: the entry names no adapter\n\n"
              "1 adapter was uninstalled:\nDock NIC, USB\\DOCK\\4\n\n"
              "1 adapter was kept installed:\nIntel, PCI\\NIC\\2: the adapter is present\n\n"
              "1 key could not be deleted:\n" + kNetwork + "{2}\n\n"
              "The deletion stopped. Left as they were:\n1 entry\n\n" + kTwoGhosts + kRunFile,
              h.messages.shown[6].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[6].icon);
}


// What no rescan shows is told after a stop even when nothing failed: the adapter uninstalled.
TEST_F(IpSettingsWindow, StopAfterAnUninstallWithNoFailureStillShowsTheSummary) {
    ASSERT_EQ(kSuccess, SeedConnection(h.registry, kNetwork + "{5}", "Last", "USB\\GONE\\5"));
    ASSERT_EQ(kSuccess, h.registry.CreateKey(kLocalMachine, kNetwork + "{5}\\Locked"));
    h.registry.SetRights(kLocalMachine, kNetwork + "{5}\\Locked", {.canRead = false});
    h.form.cmdReadClick();
    for (int row = 0; row < h.list.RowCount(); ++row) {
        h.list.SetChecked(row, h.list.RowText(row) == kNetwork + "{4}" || h.list.RowText(row) == kNetwork + "{5}");
    }
    h.checks.uninstall = true;
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No};
    h.form.comDelClick();
    ASSERT_EQ(6u, h.messages.shown.size());
    EXPECT_EQ("1 adapter was uninstalled:\nDock NIC, USB\\DOCK\\4\n\nThe deletion stopped. Left as they were:\n1 entry" +
                  kRunFile,
              h.messages.shown[5].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[5].icon);
}

// The one ticked ghost with static settings, and "Ethernet 2" that replaced
// it: asked once, naming both; Yes hands over and the box says how to undo.
TEST_F(IpSettingsWindow, HandOverIsAskedWithBothAdaptersAndYesHandsOver) {
    ASSERT_EQ(kSuccess, SeedPresentAdapter(h.registry, "{7}", "PCI\\NEW\\7", kNetClassDrivers + std::string("0007"), 0x84,
                                           "Ethernet 2"));
    ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", "DhcpIPAddress", kRegSz,
                                            std::string("10.0.0.77\0", 10)));
    ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", "DhcpSubnetMask", kRegSz,
                                            std::string("255.255.255.0\0", 14)));
    h.devices.present.push_back({"PCI\\NEW\\7", "Intel I219-V"});
    h.devices.drivers["PCI\\NEW\\7"] = kNetClassDrivers + std::string("0007");
    h.installer.pluggedIn.insert("PCI\\NEW\\7");
    h.form.cmdReadClick();
    for (int row = 0; row < h.list.RowCount(); ++row) h.list.SetChecked(row, h.list.RowText(row) == kNetwork + "{1}");
    h.checks.ipSettings = true;
    h.messages.yesNoAnswers = {MessageAnswer::Yes};
    h.form.comDelClick();
    ASSERT_EQ(2u, h.messages.shown.size()) << h.messages.shown[0].text;
    EXPECT_EQ("The gone adapter Old USB (no device) has static IPv4 settings:\nAddress: 10.0.0.9\nMask: 255.255.255.0\n"
              "Gateway: 10.0.0.1\nDNS servers: 10.0.0.2, 10.0.0.3\n\nHand them over to Ethernet 2 (Intel I219-V), which "
              "replaced it? It has 10.0.0.77 from DHCP now.\n\nThe settings take effect when Windows restarts. An undo "
              "file is written first.",
              h.messages.shown[0].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[0].icon);
    EXPECT_EQ(MessageButtons::YesNoDefaultNo, h.messages.shown[0].buttons);
    EXPECT_NE(std::string::npos,
              h.messages.shown[1].text.find(
                  "The IPv4 settings of Old USB were handed over to Ethernet 2. They take effect when Windows restarts.\n"
                  "The name Old USB is free now. To give it to Ethernet 2, run in PowerShell:\nGet-NetAdapter | "
                  "Where-Object InterfaceGuid -eq '{7}' | Rename-NetAdapter -NewName 'Old USB'\nTo undo the hand-over, "
                  "run in PowerShell, then restart Windows:\nreg import 'C:\\Tarvex\\HandOver-20261208-070509.reg'"))
        << h.messages.shown[1].text;
    EXPECT_TRUE(h.files.Content("C:\\Tarvex\\HandOver-20261208-070509.reg"));
}

// Only {1}, the gone "Old USB" with static settings, ticked; the present
// "Ethernet 2" {7} that replaced it can take them.
class HandOverWindow : public IpSettingsWindow {
protected:
    void SetUp() override {
        IpSettingsWindow::SetUp();
        ASSERT_EQ(kSuccess, SeedPresentAdapter(h.registry, "{7}", "PCI\\NEW\\7", kNetClassDrivers + std::string("0007"),
                                               0x84, "Ethernet 2"));
        h.devices.present.push_back({"PCI\\NEW\\7", "Intel I219-V"});
        h.devices.drivers["PCI\\NEW\\7"] = kNetClassDrivers + std::string("0007");
        h.installer.pluggedIn.insert("PCI\\NEW\\7");
        h.form.cmdReadClick();
        for (int row = 0; row < h.list.RowCount(); ++row) h.list.SetChecked(row, h.list.RowText(row) == kNetwork + "{1}");
        h.checks.ipSettings = true;
    }
    std::string NewAddress() {
        AnsiText address;
        ReadValue(h.registry, kLocalMachine, kInterfaces + "{7}", "IPAddress", address);
        return address;
    }
};

struct WindowHandOver {
    const char* what;
    MessageAnswer answer;
    std::function<void(Form1Harness<>&)> arrange;
    std::function<void(Form1Harness<>&)> whileAsked;
    bool entryDeleted;
    bool undoKept;
    const char* lastBox;  // the last box shown begins with it; none when only the question is shown
    bool asked = true;    // the first box is a question about the hand-over
};

class HandOverWindows : public HandOverWindow, public ::testing::WithParamInterface<WindowHandOver> {};

TEST_P(HandOverWindows, WriteOnlyWhatTheAnswerAndTheAdapterAllow) {
    GetParam().arrange(h);
    h.messages.yesNoAnswers = {GetParam().answer};
    h.messages.whileAsked = [this] { GetParam().whileAsked(h); };
    h.form.comDelClick();
    EXPECT_EQ(GetParam().entryDeleted, !h.registry.KeyExists(kLocalMachine, kNetwork + "{1}"));
    EXPECT_EQ(GetParam().undoKept, h.files.Content("C:\\Tarvex\\HandOver-20261208-070509.reg").has_value());
    ASSERT_FALSE(h.messages.shown.empty());
    EXPECT_EQ(GetParam().asked,
              h.messages.shown[0].text.find("The gone adapter Old USB (no device) has static IPv4 settings") == 0);
    if (GetParam().lastBox == nullptr) {
        EXPECT_EQ(1u, h.messages.shown.size()) << h.messages.shown.back().text;
    } else {
        EXPECT_EQ(0u, h.messages.shown.back().text.find(GetParam().lastBox)) << h.messages.shown.back().text;
    }
    if (!GetParam().undoKept && GetParam().asked) {
        EXPECT_EQ(std::string("0.0.0.0\0", 8), NewAddress()) << "the new adapter as it was";
    }
}

void Untouched(Form1Harness<>&) {}

// "Ethernet 2" {7} keeps off DHCP, and so cannot take the settings.
void KeptOffDhcp(Form1Harness<>& h) {
    ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", "DisableDhcpOnConnect", kRegDword,
                                            std::string("\x01\0\0\0", 4)));
}

// "Ethernet 8" {8} could take them too.
void SecondSuccessor(Form1Harness<>& h) {
    ASSERT_EQ(kSuccess, SeedPresentAdapter(h.registry, "{8}", "PCI\\NEW\\8", kNetClassDrivers + std::string("0008"), 0x84,
                                           "Ethernet 8"));
    h.devices.present.push_back({"PCI\\NEW\\8", "Intel I219-V"});
    h.devices.drivers["PCI\\NEW\\8"] = kNetClassDrivers + std::string("0008");
    h.installer.pluggedIn.insert("PCI\\NEW\\8");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HandOverWindows,
    ::testing::Values(
        WindowHandOver{"NoDeletesAsBefore", MessageAnswer::No, Untouched, Untouched, true, false, nullptr},
        WindowHandOver{"NoAdapterCanTakeThemAndNoKeepsTheGhostWhole", MessageAnswer::No, KeptOffDhcp, Untouched, false,
                       false, "1 entry was kept whole, with its IP settings and adapter:\nSYSTEM\\CurrentControlSet\\Control"},
        WindowHandOver{"NoAdapterCanTakeThemAndYesDeletesAsTicked", MessageAnswer::Yes, KeptOffDhcp, Untouched, true,
                       false,
                       "No IPv4 settings were handed over: no present adapter can take them: Ethernet 2 (Intel I219-V, "
                       "{7}): DisableDhcpOnConnect is set on it."},
        WindowHandOver{"AddressHeldAlready", MessageAnswer::Yes,
                       [](Form1Harness<>& h) {
                           ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", "EnableDHCP",
                                                                   kRegDword, std::string("\0\0\0\0", 4)));
                           ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", "IPAddress",
                                                                   kRegMultiSz, std::string("10.0.0.9\0\0", 10)));
                       },
                       Untouched, true, false,
                       "Nothing needed handing over: Ethernet 2 (Intel I219-V, {7}) has 10.0.0.9 already.", false},
        WindowHandOver{"TwoCouldTakeThemAndNoConsoleAdvice", MessageAnswer::Yes, SecondSuccessor, Untouched, true, false,
                       "No IPv4 settings were handed over: several present adapters could take them: Ethernet 2 (Intel "
                       "I219-V, {7}), Ethernet 8 (Intel I219-V, {8})."},
        WindowHandOver{"NoUndoFileDeletesNothing", MessageAnswer::Yes,
                       [](Form1Harness<>& h) { h.files.FailOpensFrom(1); }, Untouched, false, false, kNoUndoFileText},
        WindowHandOver{"LeaseTakenWhileAsked", MessageAnswer::Yes, Untouched,
                       [](Form1Harness<>& h) {
                           for (const auto& [name, value] : {std::pair<const char*, const char*>{"DhcpIPAddress", "192.168.1.20"},
                                                             {"DhcpSubnetMask", "255.255.255.0"},
                                                             {"DhcpServer", "192.168.1.1"}}) {
                               ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, kInterfaces + "{7}", name, kRegSz,
                                                                       std::string(value) + '\0'));
                           }
                       },
                       true, false,
                       "No IPv4 settings were handed over: Ethernet 2 changed since the deletion was planned: it is "
                       "reachable on its lease 192.168.1.20/255.255.255.0 from 192.168.1.1"},
        WindowHandOver{"HalfWritten", MessageAnswer::Yes,
                       [](Form1Harness<>& h) {
                           h.registry.InjectFault({RegistryCall::SetValue, 5, 2});
                           h.registry.InjectFault({RegistryCall::DeleteValue, 5, 0});
                       },
                       Untouched, true, true,
                       "The IPv4 settings were only partly handed over to Ethernet 2, and could not all be put back: "
                       "writing DefaultGateway gave status 5, and putting SubnetMask back gave status 5.\nTo give it "
                       "back its settings, run in PowerShell, then restart Windows:\nreg import "
                       "'C:\\Tarvex\\HandOver-20261208-070509.reg'"}),
    [](const auto& info) { return info.param.what; });

struct QuestionCase {
    const char* what;
    BackupMode mode;
    const char* says;
};

class NoHandOverQuestions : public ::testing::TestWithParam<QuestionCase> {};

// The question says whether a backup will hold what Yes deletes.
TEST_P(NoHandOverQuestions, SayWhetherABackupHoldsTheSettings) {
    HandOverPlan plan;
    plan.staticGhosts = {{{"{1}", "", "", "Old USB", ""}, {}}};
    plan.refusal = "no present adapter can take them";
    EXPECT_NE(std::string::npos, NoHandOverQuestion(plan, GetParam().mode).find(GetParam().says));
}

INSTANTIATE_TEST_SUITE_P(Modes, NoHandOverQuestions,
                         ::testing::Values(QuestionCase{"Selective", BackupMode::Selective, "\n\nSmallBackup.reg will hold them."},
                                           QuestionCase{"Full", BackupMode::Full, "\n\nLargeBackup.reg will hold them."},
                                           QuestionCase{"None", BackupMode::None, "\n\nNo backup will hold them."}),
                         [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

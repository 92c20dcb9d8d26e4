#include "form1_harness.h"
#include "window/deletion.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvex {
namespace {

const std::string kNetwork = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
// With the uninstall, the gone {1} and the uninstalled {4} both have static settings.
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

TEST_F(IpSettingsWindow, TickedBoxDeletesOnlyAGoneAdaptersSettingsAndOneBoxSaysWhatStayed) {
    h.checks.ipSettings = true;
    h.form.comDelClick();
    EXPECT_EQ(0, h.list.RowCount());
    EXPECT_FALSE(Settings("{1}"));
    EXPECT_TRUE(Settings("{2}"));
    EXPECT_TRUE(Settings("{3}"));
    EXPECT_TRUE(Settings("{4}")) << "its device stays installed";
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("3 deleted entries keep their IP settings:\n1: the adapter is present\n"
              "1: the adapter is not present but still installed\n1: the entry names no adapter\n\n"
              "No IPv4 settings were handed over: no present adapter can take them.",
              h.messages.shown[0].text);
    EXPECT_EQ(MessageIcon::Information, h.messages.shown[0].icon);
    EXPECT_EQ(MessageButtons::Ok, h.messages.shown[0].buttons);
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
    h.messages.yesNoAnswers = {MessageAnswer::Yes};
    h.form.comDelClick();
    EXPECT_EQ(std::vector<AnsiText>{"USB\\DOCK\\4"}, h.installer.uninstalled);
    EXPECT_FALSE(Settings("{4}"));
    ASSERT_EQ(2u, h.messages.shown.size());
    EXPECT_EQ("2 deleted entries keep their IP settings:\n1: the adapter is present\n1: the entry names no adapter\n\n"
              "1 adapter was uninstalled:\nDock NIC, USB\\DOCK\\4\n\n1 adapter was kept installed:\nIntel, PCI\\NIC\\2: the adapter is present\n\n"
              "Windows asks for a restart to finish uninstalling the adapters.\n\n" + kTwoGhosts,
              h.messages.shown[1].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[1].icon);
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
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    h.form.comDelClick();
    EXPECT_EQ(5, h.list.RowCount()) << "no rescan after a stop";
    ASSERT_EQ(4u, h.messages.shown.size());
    EXPECT_EQ("1 deleted entry keeps its IP settings:\n1: the entry names no adapter\n\n"
              "1 adapter was uninstalled:\nDock NIC, USB\\DOCK\\4\n\n"
              "1 adapter was kept installed:\nIntel, PCI\\NIC\\2: the adapter is present\n\n"
              "1 key could not be deleted:\n" + kNetwork + "{2}\n\n"
              "The deletion stopped. Left as they were:\n1 entry\n\n" + kTwoGhosts,
              h.messages.shown[3].text);
    EXPECT_EQ(MessageIcon::Warning, h.messages.shown[3].icon);
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
              h.messages.shown[1].text.find("The IPv4 settings of Old USB were handed over to Ethernet 2. They take "
                                            "effect when Windows restarts.\nThe name Old USB is free now."));
    EXPECT_NE(std::string::npos, h.messages.shown[1].text.find("reg import \"C:\\Tarvex\\HandOver-20261208-070509.reg\""));
    EXPECT_TRUE(h.files.Content("C:\\Tarvex\\HandOver-20261208-070509.reg"));
}

}  // namespace
}  // namespace tarvex

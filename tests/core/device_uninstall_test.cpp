#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "export/backup_error.h"
#include "support/fake_devices.h"
#include "support/reached_outcomes.h"
#include "support/seed_connection.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

constexpr char kFolder[] = "C:\\Tools\\";
const std::string kCurrent = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
const std::string kSet1 = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
const std::string kInterfaces = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\";

class GoOn final : public BackupWarning {
public:
    bool GoOnWithoutFullBackup(const BackupProblem&) override { return goOn; }
    void KeptAside(const BackupProblem&) override {}
    bool goOn = true;
};

// Records, at each uninstall, whether the entry and its IP settings were
// gone already, and whether the settings were in the backup.
class OrderedInstaller final : public DeviceInstaller {
public:
    OrderedInstaller(FakeInstaller& fake, MemoryRegistry& registry, MemoryFiles& files)
        : fake_(fake), registry_(registry), files_(files) {}
    PresenceCheck CheckPresence(const AnsiText& id) override { return fake_.CheckPresence(id); }
    UninstallResult Uninstall(const AnsiText& id) override {
        entryGoneFirst = !registry_.KeyExists(kLocalMachine, kSet1 + "{A1}");
        settingsGoneFirst = !registry_.KeyExists(kLocalMachine, kInterfaces + "{a1}");
        settingsBackedUpFirst = files_.Content(kFolder + std::string(kSmallBackupFile))
                                    .value_or("")
                                    .find(kInterfaces + "{a1}]") != std::string::npos;
        return fake_.Uninstall(id);
    }
    bool entryGoneFirst = false;
    bool settingsGoneFirst = true;
    bool settingsBackedUpFirst = false;

private:
    FakeInstaller& fake_;
    MemoryRegistry& registry_;
    MemoryFiles& files_;
};

// In ControlSet001, which CurrentControlSet links to as on Windows: {A1}
// and {B2} name adapters that are not present, {B2} the same device as
// {C3}; {D4} names a present one, {E5} one with no device, {F6} none. {A1}
// has IP settings.
class Uninstalling : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [guid, id] : std::vector<std::pair<std::string, std::string>>{
                 {"{A1}", "USB\\DOCK\\1"}, {"{B2}", "PCI\\OLD\\2"}, {"{C3}", "pci\\old\\2"}, {"{D4}", "PCI\\NIC\\4"},
                 {"{E5}", "PCI\\GONE\\5"}, {"{F6}", ""}}) {
            ASSERT_EQ(kSuccess, SeedConnection(registry, kSet1 + guid, "Net " + guid, id));
        }
        ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet001", "{a1}", "10.0.0.9"));
        registry.LinkKey(kLocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
        devices.present.push_back({"PCI\\NIC\\4", "Intel"});
        devices.phantoms = {{"USB\\DOCK\\1", "Dock"}, {"PCI\\OLD\\2", "Old card"}};
        test.files.AddFolder(kFolder);
        BackupError = false;
    }
    DeletionPlan Plan(const std::vector<std::string>& keys, bool ipSettings = false) {
        return PlanDeletion(test.services, {keys.begin(), keys.end()}, {ipSettings, true});
    }
    DeletionReport Delete(const DeletionPlan& plan, BackupMode mode = BackupMode::None) {
        return DeleteAsPlanned(test.services, plan, mode, warning, kFolder);
    }
    static std::vector<AnsiText> Ids(const std::vector<PlannedDevice>& devices) {
        std::vector<AnsiText> ids;
        for (const PlannedDevice& device : devices) ids.push_back(device.instanceId);
        return ids;
    }

    MemoryRegistry registry;
    FakeDevices devices;
    TestServices test{registry, devices};
    FakeInstaller& installer = test.installer;
    GoOn warning;
};

// Only a device that is not present is uninstalled, once however many
// entries name it; the present one is kept, the others have none.
TEST_F(Uninstalling, PlanTakesEachAbsentDeviceOnceAndKeepsThePresentOne) {
    const DeletionPlan plan = Plan({kCurrent + "{A1}", kSet1 + "{A1}", kSet1 + "{B2}", kSet1 + "{C3}", kSet1 + "{D4}",
                                    kSet1 + "{E5}", kSet1 + "{F6}"});
    EXPECT_EQ((std::vector<AnsiText>{"USB\\DOCK\\1", "PCI\\OLD\\2"}), Ids(plan.devices));
    EXPECT_EQ("Old card", plan.devices[1].name);
    const std::vector<std::optional<std::size_t>> expected = {0, 0, 1, 1, std::nullopt, std::nullopt, std::nullopt};
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], plan.entries[i].device) << i;
    ASSERT_EQ(1u, plan.keptDevices.size());
    EXPECT_EQ("PCI\\NIC\\4", plan.keptDevices[0].device.instanceId);
    EXPECT_EQ(KeptReason::AdapterPresent, plan.keptDevices[0].reason);
}

TEST_F(Uninstalling, AFailedQueryUninstallsNothing) {
    devices.failing = true;
    const DeletionReport report = Delete(Plan({kSet1 + "{A1}", kSet1 + "{D4}"}, true));
    EXPECT_TRUE(installer.uninstalled.empty());
    EXPECT_TRUE(installer.checked.empty());
    EXPECT_TRUE(registry.KeyExists(kLocalMachine, kInterfaces + "{a1}"));
    EXPECT_FALSE(registry.KeyExists(kLocalMachine, kSet1 + "{A1}")) << "the entries go as asked";
}

// A not-present adapter's IP settings go only with its device: the entry
// first, then the settings' backup, then the device, then the settings.
TEST_F(Uninstalling, GoesAfterItsEntryAndBeforeItsSettings) {
    OrderedInstaller ordered(installer, registry, test.files);
    const Services services{registry, registry, devices, ordered, test.files, test.clock, test.codec, test.cases,
                            nullptr};
    const DeletionPlan plan = PlanDeletion(services, {kSet1 + "{A1}"}, {true, true});
    EXPECT_EQ(4u, plan.entries[0].ipSettings.size());
    const DeletionReport report = DeleteAsPlanned(services, plan, BackupMode::Selective, warning, kFolder);
    ASSERT_EQ(1u, DeviceOutcomes(report).size());
    EXPECT_EQ(Fate::Uninstalled, DeviceOutcomes(report)[0].fate);
    EXPECT_TRUE(ordered.entryGoneFirst);
    EXPECT_FALSE(ordered.settingsGoneFirst);
    EXPECT_TRUE(ordered.settingsBackedUpFirst);
    EXPECT_FALSE(registry.KeyExists(kLocalMachine, kInterfaces + "{a1}"));
    EXPECT_EQ(std::vector<AnsiText>{"USB\\DOCK\\1"}, installer.checked) << "just before the uninstall";
}

class TakenWithTheDevice : public Uninstalling, public ::testing::WithParamInterface<BackupMode> {};

// The uninstall is global: what it may take in the current control set is
// backed up first (in a full backup, with the Network trees), whichever
// set's entry was ticked and whether or not IP settings were asked for, and
// what it took is named.
TEST_P(TakenWithTheDevice, IsBackedUpFirstAndNamed) {
    const std::string current = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{a1}";
    installer.whileUninstalling = [&] { registry.SHDeleteKeyA(kLocalMachine, current); };
    const DeletionPlan plan = Plan({kSet1 + "{A1}"});
    EXPECT_TRUE(plan.entries[0].ipSettings.empty());
    const DeletionReport report = Delete(plan, GetParam());
    const char* file = GetParam() == BackupMode::Full ? kLargeBackupFile : kSmallBackupFile;
    const std::string backup = test.files.Content(kFolder + std::string(file)).value_or("");
    EXPECT_NE(std::string::npos, backup.find("[HKEY_LOCAL_MACHINE\\" + current + "]"));
    EXPECT_NE(std::string::npos, backup.find("NetBT\\Parameters\\Interfaces\\Tcpip_{a1}]"));
    ASSERT_EQ(1u, DeviceOutcomes(report).size());
    EXPECT_EQ(std::vector<AnsiText>{current}, DeviceOutcomes(report)[0].removedWithDevice);
    // The run's own file brings back what the uninstall took, and nothing it left.
    const std::string runFile = RunFileText(test.files, report);
    EXPECT_NE(std::string::npos, runFile.find("[HKEY_LOCAL_MACHINE\\" + current + "]"));
    EXPECT_EQ(std::string::npos, runFile.find("NetBT\\Parameters\\Interfaces\\Tcpip_{a1}]"));
}

INSTANTIATE_TEST_SUITE_P(Modes, TakenWithTheDevice, ::testing::Values(BackupMode::Selective, BackupMode::Full));

struct GateCase {
    const char* what;
    std::function<void(FakeInstaller&)> arrange;
    Fate fate;
    KeptReason reason;  // the device's when kept; its settings' always
};

class DeviceGate : public Uninstalling, public ::testing::WithParamInterface<GateCase> {};

// Plugged in since the scan, unable to tell, or still installed after a
// failed uninstall: its IP settings stay, for the adapter may use them.
TEST_P(DeviceGate, KeepsWhatItCannotShowAbsentAndNamesAFailure) {
    GetParam().arrange(installer);
    const DeletionReport report = Delete(Plan({kSet1 + "{A1}"}, true));
    const std::vector<Outcome> devices = DeviceOutcomes(report);
    ASSERT_EQ(1u, devices.size());
    EXPECT_EQ(GetParam().fate, devices[0].fate);
    if (GetParam().fate == Fate::Kept) {
        EXPECT_EQ(GetParam().reason, devices[0].reason);
        EXPECT_TRUE(installer.uninstalled.empty());
    }
    if (GetParam().fate == Fate::Failed) {
        EXPECT_EQ("SetupDiCallClassInstaller failed with error 5: Access is denied.", FailureText(devices[0].error));
    }
    EXPECT_TRUE(registry.KeyExists(kLocalMachine, kInterfaces + "{a1}"));
    for (const Outcome& outcome : report.outcomes) {
        if (outcome.kind != ItemKind::IpSettings) continue;
        EXPECT_EQ(Fate::Kept, outcome.fate) << outcome.what;
        EXPECT_EQ(GetParam().reason, outcome.reason) << outcome.what;
    }
    EXPECT_FALSE(report.restartNeeded);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, DeviceGate,
    ::testing::Values(
        GateCase{"PluggedInSinceTheScan", [](FakeInstaller& i) { i.pluggedIn.insert("USB\\DOCK\\1"); }, Fate::Kept,
                 KeptReason::ConnectedSinceScan},
        GateCase{"PresenceUnknown", [](FakeInstaller& i) { i.uncheckable.insert("USB\\DOCK\\1"); }, Fate::Kept,
                 KeptReason::NotChecked},
        GateCase{"UninstallFails", [](FakeInstaller& i) { i.failing.insert("USB\\DOCK\\1"); }, Fate::Failed,
                 KeptReason::UninstallFailed}),
    [](const auto& info) { return info.param.what; });

// Each device once, its restart told; nothing after a stop or where the entry stayed.
TEST_F(Uninstalling, OnceAfterTheFirstEntryThatWentAndNeverPastAStop) {
    installer.needsRestart.insert("PCI\\OLD\\2");
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{B2}\\Ndi"));
    registry.SetRights(kLocalMachine, kSet1 + "{B2}\\Ndi", {.canRead = true, .canWrite = false});
    DeletionReport report = Delete(Plan({kSet1 + "{B2}", kSet1 + "{C3}", kCurrent + "{A1}", kSet1 + "{A1}"}));
    EXPECT_EQ((std::vector<AnsiText>{"PCI\\OLD\\2", "USB\\DOCK\\1"}), installer.uninstalled)
        << "{B2} stayed, so its device went with {C3}; {A1}'s once";
    EXPECT_TRUE(report.restartNeeded);
    const std::vector<Outcome> devices = DeviceOutcomes(report);
    ASSERT_EQ(2u, devices.size());
    EXPECT_TRUE(devices[0].restartNeeded);
    EXPECT_EQ(1u, devices[0].entry);

    installer.uninstalled.clear();
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{D4}\\Locked"));
    registry.SetRights(kLocalMachine, kSet1 + "{D4}\\Locked", {.canRead = false});
    warning.goOn = false;
    ASSERT_EQ(kSuccess, SeedConnection(registry, kSet1 + "{A1}", "Net {A1}", "USB\\DOCK\\1"));
    report = Delete(Plan({kSet1 + "{D4}", kSet1 + "{A1}"}), BackupMode::Selective);
    EXPECT_TRUE(report.stopped);
    EXPECT_TRUE(installer.uninstalled.empty());
}

}  // namespace
}  // namespace tarvex

#include "core/connection_deletion.h"
#include "core/connection_scan.h"
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

using namespace std::string_literals;

constexpr char kFolder[] = "C:\\Tools\\";
const std::string kNetwork = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
const std::string kServices = "SYSTEM\\ControlSet001\\Services\\";
const std::string kDriver = "SYSTEM\\CurrentControlSet\\Control\\Class\\{N}\\0007";

// The four IP-settings keys of a GUID as Tcpip stores it, in the plan's order.
std::vector<AnsiText> IpKeys(const std::string& services, const std::string& guid) {
    return {services + "Tcpip\\Parameters\\Interfaces\\" + guid, services + "Tcpip\\Parameters\\Adapters\\" + guid,
            services + "Tcpip6\\Parameters\\Interfaces\\" + guid,
            services + "NetBT\\Parameters\\Interfaces\\Tcpip_" + guid};
}

class AnswerEveryWarning final : public BackupWarning {
public:
    bool GoOnWithoutFullBackup(const BackupProblem&) override { return asked++ < agreed || goOn; }
    void KeptAside(const BackupProblem&) override {}
    bool goOn = true;
    int agreed = 0;  // questions answered to go on before goOn answers
    int asked = 0;
};

// In ControlSet001: {A1} names an adapter with no device, {B2} one not
// present, {C3} a present one, {D4} none; each has its four IP-settings keys
// under its GUID in lower case. {E5} has no device and no settings. {F7}
// names a device that is gone, but a present one's driver key names its
// GUID. Interface {ff} belongs to no entry.
class IpSettingsDeletion : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [guid, id] : std::vector<std::pair<std::string, std::string>>{
                 {"{A1}", "PCI\\GONE\\1"}, {"{B2}", "USB\\DOCK\\2"}, {"{C3}", "PCI\\NIC\\3"}, {"{D4}", ""},
                 {"{E5}", "PCI\\GONE\\5"}, {"{F7}", "PCI\\GONE\\7"}}) {
            ASSERT_EQ(kSuccess, SeedConnection(registry, kNetwork + guid, "Net " + guid, id));
        }
        for (const char* guid : {"{a1}", "{b2}", "{c3}", "{d4}", "{f7}", "{ff}"}) {
            ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet001", guid, "10.0.0.9"));
        }
        devices.present.push_back({"PCI\\NIC\\3", "Intel"});
        devices.present.push_back({"PCI\\NIC\\7", "Realtek"});
        devices.drivers["PCI\\NIC\\7"] = "{N}\\0007";
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kDriver, "NetCfgInstanceId", kRegSz, "{f7}\0\0"s));
        devices.phantoms = {{"USB\\DOCK\\2", "Dock"}};
        test.files.AddFolder(kFolder);
        BackupError = false;
    }
    DeletionPlan Plan(const std::vector<std::string>& guids, bool ipSettings = true) {
        std::vector<AnsiText> keys;
        for (const std::string& guid : guids) keys.push_back(kNetwork + guid);
        return PlanDeletion(test.services, keys, {ipSettings});
    }
    bool Exists(const std::string& key) const { return registry.KeyExists(kLocalMachine, key); }

    MemoryRegistry registry;
    FakeDevices devices;
    TestServices test{registry, devices};
};

struct PlannedCase {
    std::string guid;
    std::vector<AnsiText> deleted;
    std::vector<AnsiText> kept;
    KeptReason reason;
};

// Only an adapter Windows has no device for gives up its settings: a present
// adapter's are its live configuration, and one still installed needs them
// when it is connected again. Keys are named as stored, in lower case.
TEST_F(IpSettingsDeletion, PlanTakesOnlyTheSettingsOfEntriesWithoutADevice) {
    const std::vector<PlannedCase> cases = {
        {"{A1}", IpKeys(kServices, "{a1}"), {}, KeptReason::NoAdapterNamed},
        {"{B2}", {}, IpKeys(kServices, "{b2}"), KeptReason::StillInstalled},
        {"{C3}", {}, IpKeys(kServices, "{c3}"), KeptReason::AdapterPresent},
        {"{D4}", {}, IpKeys(kServices, "{d4}"), KeptReason::NoAdapterNamed},
        {"{E5}", {}, {}, KeptReason::NoAdapterNamed},
        {"{F7}", {}, IpKeys(kServices, "{f7}"), KeptReason::AdapterPresent},
    };
    std::vector<std::string> guids;
    for (const PlannedCase& c : cases) guids.push_back(c.guid);
    const DeletionPlan plan = Plan(guids);
    ASSERT_EQ(cases.size(), plan.entries.size());
    EXPECT_FALSE(plan.deviceError);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const PlannedEntry& entry = plan.entries[i];
        EXPECT_EQ(kNetwork + cases[i].guid, entry.key);
        EXPECT_EQ(cases[i].deleted, entry.ipSettings) << cases[i].guid;
        EXPECT_EQ(cases[i].kept, entry.keptIpSettings) << cases[i].guid;
        if (!entry.keptIpSettings.empty()) {
            EXPECT_EQ(cases[i].reason, entry.keptReason) << cases[i].guid;
        }
    }
}

// The list the window shows may be minutes old: an adapter plugged in since is
// asked about afresh, and a query that fails gives up no one's settings.
TEST_F(IpSettingsDeletion, PlanAsksTheDevicesAfreshAndOnlyWhenAsked) {
    const ConnectionScan scan = ScanConnectionRows(test.services, RowReads::Columns);
    ASSERT_EQ(AdapterState::NoDevice, scan.rows[0].adapter);
    const int queriesOfTheScan = devices.queries;

    EXPECT_TRUE(Plan({"{A1}"}, false).entries[0].ipSettings.empty());
    EXPECT_EQ(queriesOfTheScan, devices.queries) << "nothing asked, nothing queried";

    devices.present.push_back({"PCI\\GONE\\1", "Plugged in since"});
    DeletionPlan plan = Plan({"{A1}"});
    EXPECT_EQ(queriesOfTheScan + 3, devices.queries) << "the two of the scan, and the present drivers";
    EXPECT_TRUE(plan.entries[0].ipSettings.empty());
    EXPECT_EQ(KeptReason::AdapterPresent, plan.entries[0].keptReason);

    registry.SetRights(kLocalMachine, kDriver, {.canRead = false});
    plan = Plan({"{A1}"});
    ASSERT_TRUE(plan.deviceError) << "an unreadable driver key could name any GUID";
    EXPECT_EQ("RegOpenKeyExA", plan.deviceError->call);
    EXPECT_TRUE(plan.entries[0].ipSettings.empty());

    devices.failing = true;
    plan = Plan({"{A1}", "{C3}"});
    ASSERT_TRUE(plan.deviceError);
    for (const PlannedEntry& entry : plan.entries) {
        EXPECT_TRUE(entry.ipSettings.empty());
        EXPECT_EQ(4u, entry.keptIpSettings.size());
        EXPECT_EQ(KeptReason::DevicesNotListed, entry.keptReason);
    }
}

std::size_t At(const std::string& text, const std::string& key) { return text.find("[HKEY_LOCAL_MACHINE\\" + key + "]"); }

struct ModeCase {
    const char* what;
    BackupMode mode;
};

class IpSettingsBackups : public IpSettingsDeletion, public ::testing::WithParamInterface<ModeCase> {};

// Each IP-settings key goes after its entry, and is in the backup the mode
// writes: appended just before it goes, or after the four Network trees.
TEST_P(IpSettingsBackups, GoAfterTheirEntryAndAreBackedUpAsTheEntryIs) {
    AnswerEveryWarning warning;
    const DeletionPlan plan = Plan({"{A1}", "{C3}"});
    const DeletionReport report = DeleteAsPlanned(test.services, plan, GetParam().mode, warning, kFolder);

    std::vector<AnsiText> deleted;
    for (const Outcome& key : KeysReached(report)) {
        EXPECT_EQ(Fate::Deleted, key.fate);
        deleted.push_back(key.what);
    }
    std::vector<AnsiText> expected{kNetwork + "{A1}"};
    for (const AnsiText& key : IpKeys(kServices, "{a1}")) expected.push_back(key);
    expected.push_back(kNetwork + "{C3}");
    EXPECT_EQ(expected, deleted);
    for (const AnsiText& key : expected) EXPECT_FALSE(Exists(key)) << key;
    for (const char* guid : {"{c3}", "{ff}"}) {
        for (const AnsiText& key : IpKeys(kServices, guid)) EXPECT_TRUE(Exists(key)) << key;
    }
    EXPECT_EQ(0, warning.asked);

    const std::string small = test.files.Content(kFolder + std::string(kSmallBackupFile)).value_or("");
    const std::string large = test.files.Content(kFolder + std::string(kLargeBackupFile)).value_or("");
    const std::string& backup = GetParam().mode == BackupMode::Full ? large : small;
    if (GetParam().mode == BackupMode::None) {
        EXPECT_EQ(0, test.files.OpenCount());
        return;
    }
    // In the order of the deletion; in the full backup, after every Network tree.
    std::size_t last = GetParam().mode == BackupMode::Full ? At(backup, "SYSTEM\\ControlSet001\\Control\\Network") : 0;
    for (const AnsiText& key : IpKeys(kServices, "{a1}")) {
        const std::size_t at = At(backup, key);
        ASSERT_NE(std::string::npos, at) << key;
        EXPECT_LT(last, at) << key;
        last = at;
    }
    EXPECT_EQ(std::string::npos, At(backup, IpKeys(kServices, "{c3}")[0])) << "kept settings are not deleted";
    EXPECT_NE(std::string::npos, backup.find("\"IPAddress\"=hex(7):31,30,2E,30,2E,30,2E,39,00,00"));
}

INSTANTIATE_TEST_SUITE_P(Modes, IpSettingsBackups,
                         ::testing::Values(ModeCase{"Selective", BackupMode::Selective},
                                           ModeCase{"Full", BackupMode::Full}, ModeCase{"None", BackupMode::None}),
                         [](const auto& info) { return info.param.what; });

// A stop leaves the rest of the row's keys; an entry that stays keeps its
// settings; a key that cannot be deleted is a failed deletion.
TEST_F(IpSettingsDeletion, StopsAndFailuresLeaveWhatTheyReached) {
    const std::vector<AnsiText> keys = IpKeys(kServices, "{a1}");
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, keys[1] + "\\Locked"));
    registry.SetRights(kLocalMachine, keys[1] + "\\Locked", {.canRead = false});
    AnswerEveryWarning stop;
    stop.goOn = false;
    stop.agreed = 1;  // past the run's own file, which the locked key leaves incomplete too
    DeletionReport report = DeleteAsPlanned(test.services, Plan({"{A1}"}), BackupMode::Selective, stop, kFolder);
    EXPECT_TRUE(report.stopped);
    ASSERT_EQ(2u, KeysReached(report).size());
    EXPECT_FALSE(Exists(kNetwork + "{A1}"));
    EXPECT_FALSE(Exists(keys[0]));
    for (std::size_t i = 1; i < keys.size(); ++i) EXPECT_TRUE(Exists(keys[i])) << keys[i];

    registry.SetRights(kLocalMachine, keys[1] + "\\Locked", {.canRead = true, .canWrite = false});
    AnswerEveryWarning goOn;
    report = DeleteAsPlanned(test.services, {{{kNetwork + "{A1}", {keys[1], keys[2]}}}}, BackupMode::Selective, goOn,
                             kFolder);
    std::vector<Outcome> reached = KeysReached(report);
    ASSERT_EQ(3u, reached.size());
    EXPECT_EQ(Fate::Failed, reached[1].fate);
    EXPECT_EQ(ItemKind::IpSettings, reached[1].kind);
    EXPECT_EQ(Fate::Deleted, reached[2].fate);
    // Part of a key that failed may be gone: the run's own file brings it back.
    const std::string runFile = RunFileText(test.files, report);
    EXPECT_NE(std::string::npos, At(runFile, keys[1]));

    const std::vector<AnsiText> d4 = IpKeys(kServices, "{d4}");
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kNetwork + "{D4}\\Ndi"));
    registry.SetRights(kLocalMachine, kNetwork + "{D4}\\Ndi", {.canRead = true, .canWrite = false});
    report = DeleteAsPlanned(test.services, {{{kNetwork + "{D4}", d4}}}, BackupMode::None, goOn, kFolder);
    reached = KeysReached(report);
    ASSERT_EQ(1u, reached.size()) << "settings of an entry that stayed would serve it again";
    EXPECT_EQ(Fate::Failed, reached[0].fate);
    for (const AnsiText& key : d4) EXPECT_TRUE(Exists(key));
}

// On Windows CurrentControlSet is its numbered set: both copies are planned
// and backed up, and the second is gone with the first.
TEST_F(IpSettingsDeletion, TheCurrentSetsCopyAndTheNumberedOneAreBothBackedUpAndGoTogether) {
    registry.LinkKey(kLocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
    const std::string current = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\{A1}";
    const DeletionPlan plan = PlanDeletion(test.services, {current, kNetwork + "{A1}"}, {true});
    EXPECT_EQ(IpKeys("SYSTEM\\CurrentControlSet\\Services\\", "{a1}"), plan.entries[0].ipSettings);
    EXPECT_EQ(IpKeys(kServices, "{a1}"), plan.entries[1].ipSettings);

    AnswerEveryWarning warning;
    const DeletionReport report = DeleteAsPlanned(test.services, plan, BackupMode::Full, warning, kFolder);
    ASSERT_EQ(10u, KeysReached(report).size());
    for (const Outcome& key : KeysReached(report)) EXPECT_EQ(Fate::Deleted, key.fate) << key.what;
    const std::string large = test.files.Content(kFolder + std::string(kLargeBackupFile)).value_or("");
    for (const PlannedEntry& entry : plan.entries) {
        for (const AnsiText& key : entry.ipSettings) EXPECT_NE(std::string::npos, At(large, key)) << key;
    }
}

}  // namespace
}  // namespace tarvex

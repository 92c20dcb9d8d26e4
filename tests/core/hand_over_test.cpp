#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "export/backup_error.h"
#include "registry/unique_key.h"
#include "support/fake_devices.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kFolder[] = "C:\\Tools\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kUndoFile = kFolder + "HandOver-20261208-070509.reg"s;

class Answer final : public BackupWarning {
public:
    bool GoOnWithoutFullBackup(const BackupProblem&) override { return goOn; }
    void KeptAside(const BackupProblem&) override {}
    bool goOn = true;
};

// In the current control set: the ghost {A1} "Ethernet", whose adapter has
// no device, with static settings 10.0.0.9/24 gateway 10.0.0.1; and the
// present adapter {B2} "Ethernet 2" that replaced it, physical, on DHCP
// with no lease. Only the ghost is selected.
class HandOverTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_EQ(kSuccess, SeedConnection(registry, kAdapterEntries + "{A1}", "Ethernet", "PCI\\OLD\\1"));
        ASSERT_EQ(kSuccess, SeedIpSettings(registry, "CurrentControlSet", "{a1}", "10.0.0.9"));
        AddSuccessor("{B2}", "PCI\\NEW\\2", "0002", 0x84);
        test.files.AddFolder(kFolder);
        selected = {kAdapterEntries + "{A1}"};
        BackupError = false;
    }
    void AddSuccessor(const std::string& guid, const std::string& id, const std::string& index, std::uint32_t flags) {
        ASSERT_EQ(kSuccess, SeedPresentAdapter(registry, guid, id, kNetClassDrivers + index, flags, "Ethernet " + index.substr(3)));
        devices.present.push_back({id, "Intel I219-V"});
        devices.drivers[id] = kNetClassDrivers + index;
    }
    void Set(const std::string& interface, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kInterfaces + interface, name, type, bytes));
    }
    void ReadOnlyBelow(const std::string& key) {
        ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, key + "\\Held"));
        registry.SetRights(kLocalMachine, key + "\\Held", {.canRead = false, .canWrite = false});
    }
    DeletionPlan Plan() { return PlanDeletion(test.services, selected, {true, false, request}); }
    std::string SuccessorValue(const char* name, std::uint32_t& type) {
        UniqueKey key(registry);
        key.Open(kLocalMachine, kInterfaces + "{b2}", kKeyRead);
        std::uint8_t data[256] = {};
        std::uint32_t size = sizeof data;
        if (registry.RegQueryValueExA(key.get(), name, type, data, size) != kSuccess) return "(none)";
        return std::string(reinterpret_cast<char*>(data), size);
    }

    MemoryRegistry registry;
    FakeDevices devices;
    TestServices test{registry, devices};
    std::vector<AnsiText> selected;
    HandOverRequest request{HandOverAsk::Automatic};
};

struct PairingCase {
    const char* what;
    std::function<void(HandOverTest&)> arrange;
    const char* refusal;  // found in the refusal; none when {B2} takes the settings
    bool staticGhost = true;
};

class Pairing : public HandOverTest, public ::testing::WithParamInterface<PairingCase> {};

TEST_P(Pairing, TakesOneStaticGhostAndOneAdapterThatCanTakeItsSettings) {
    GetParam().arrange(*this);
    const DeletionPlan plan = Plan();
    ASSERT_TRUE(plan.handOver);
    const HandOverPlan& handOver = *plan.handOver;
    EXPECT_EQ(GetParam().staticGhost, handOver.staticGhost);
    if (GetParam().refusal == nullptr) {
        EXPECT_FALSE(handOver.refusal) << *handOver.refusal;
        EXPECT_EQ(kInterfaces + "{b2}", handOver.successor.interfacesKey);
        EXPECT_EQ("10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3", SettingsText(handOver.settings));
        return;
    }
    ASSERT_TRUE(handOver.refusal);
    EXPECT_NE(std::string::npos, handOver.refusal->find(GetParam().refusal)) << *handOver.refusal;
}

void Nothing(HandOverTest&) {}

// Arranges one value of the new adapter's settings.
std::function<void(HandOverTest&)> NewAdapterHas(const char* name, std::uint32_t type, std::string bytes) {
    return [=](HandOverTest& t) { t.Set("{b2}", name, type, bytes); };
}

// The only adapter present is another one, with these flags.
std::function<void(HandOverTest&)> OnlyAdapter(const char* guid, const char* id, const char* index, std::uint32_t flags) {
    return [=](HandOverTest& t) {
        t.devices.drivers.clear();
        t.AddSuccessor(guid, id, index, flags);
    };
}

void SecondGhost(HandOverTest& t) {
    ASSERT_EQ(kSuccess, SeedConnection(t.registry, kAdapterEntries + "{A3}", "Old", "PCI\\OLD\\3"));
    ASSERT_EQ(kSuccess, SeedIpSettings(t.registry, "CurrentControlSet", "{a3}", "10.0.0.8"));
    t.selected.push_back(kAdapterEntries + "{A3}");
}

void LeaseElsewhere(HandOverTest& t) {
    t.Set("{b2}", "DhcpIPAddress", kRegSz, "192.168.1.20\0"s);
    t.Set("{b2}", "DhcpSubnetMask", kRegSz, "255.255.255.0\0"s);
}

void LeaseAlike(HandOverTest& t) {
    t.Set("{b2}", "DhcpIPAddress", kRegSz, "10.0.0.50\0"s);
    t.Set("{b2}", "DhcpSubnetMask", kRegSz, "255.255.0.0\0"s);
}

void StaticNewAdapter(HandOverTest& t) {
    t.Set("{b2}", "EnableDHCP", kRegDword, "\0\0\0\0"s);
    t.Set("{b2}", "IPAddress", kRegMultiSz, "192.168.5.5\0\0"s);
}

// The driver key names the entry {B2} as {b2}.
void LowerCaseDriverGuid(HandOverTest& t) {
    ASSERT_EQ(kSuccess, t.registry.SetValue(kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\" +
                                                               std::string(kNetClassDrivers) + "0002",
                                            "NetCfgInstanceId", kRegSz, "{b2}\0"s));
}

void DomainOutsideTheCodePage(HandOverTest& t) {
    t.Set("{a1}", "Domain", kRegSz, "?\0"s);
    t.registry.MarkBeyondAnsi(kLocalMachine, kInterfaces + "{a1}", "Domain", AnsiFit::DataLost);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Pairing,
    ::testing::Values(
        PairingCase{"OneGhostOneSuccessor", Nothing, nullptr},
        PairingCase{"TwoGhosts", SecondGhost, "several selected ghosts have static IPv4 settings: Ethernet ({A1}), Old ({A3})"},
        PairingCase{"TwoSuccessors", [](HandOverTest& t) { t.AddSuccessor("{B4}", "PCI\\NEW\\4", "0004", 0x84); },
                    "several present adapters could take them: Ethernet 2 (Intel I219-V, {B2}), Ethernet 4"},
        PairingCase{"NamedAmongTwo",
                    [](HandOverTest& t) {
                        t.AddSuccessor("{B4}", "PCI\\NEW\\4", "0004", 0x84);
                        t.request = {HandOverAsk::Named, "{b2}"};
                    },
                    nullptr},
        PairingCase{"NoneNamed", [](HandOverTest& t) { t.request = {HandOverAsk::Named, "{C9}"}; },
                    "no present network adapter has the GUID {C9}"},
        PairingCase{"NoSuccessor", [](HandOverTest& t) { t.devices.drivers.clear(); }, "no present adapter can take them"},
        PairingCase{"SuccessorWithStaticSettings", StaticNewAdapter, "Ethernet 2 (Intel I219-V, {B2}): it is not on DHCP"},
        PairingCase{"LeaseInAnotherSubnet", LeaseElsewhere,
                    "it is reachable on its lease 192.168.1.20/255.255.255.0, another network than 10.0.0.9 with "
                    "gateway 10.0.0.1"},
        PairingCase{"LeaseInTheSameSubnet", LeaseAlike, nullptr},
        PairingCase{"AutomaticAddressIsNoLease", NewAdapterHas("DhcpIPAddress", kRegSz, "169.254.7.7\0"s), nullptr},
        PairingCase{"LeaseFromAzure", NewAdapterHas("DhcpServer", kRegSz, "168.63.129.16\0"s),
                    "its lease is from 168.63.129.16, Azure's DHCP service"},
        PairingCase{"DisableDhcpOnConnect", NewAdapterHas("DisableDhcpOnConnect", kRegDword, "\x01\0\0\0"s),
                    "DisableDhcpOnConnect is set on it"},
        PairingCase{"Virtual", OnlyAdapter("{B5}", "PCI\\VPN\\5", "0005", 0x85),
                    "Ethernet 5 (Intel I219-V, {B5}): it is not a physical adapter (Characteristics 0x85)"},
        PairingCase{"RootEnumeratedPhysical", OnlyAdapter("{B6}", "ROOT\\NET\\0006", "0006", 0x84),
                    "it is a software device (ROOT\\NET\\0006)"},
        PairingCase{"GhostOnDhcp", [](HandOverTest& t) { t.Set("{a1}", "EnableDHCP", kRegDword, "\x01\0\0\0"s); },
                    "no selected entry of a gone adapter has static IPv4 settings", false},
        PairingCase{"GuidCaseDiffers", LowerCaseDriverGuid, nullptr},
        PairingCase{"ValueOutsideTheCodePage", DomainOutsideTheCodePage,
                    "the ghost's Domain cannot be written exactly in the ANSI code page"}),
    [](const auto& info) { return info.param.what; });

struct RunCase {
    const char* what;
    std::function<void(HandOverTest&)> arrange;
    BackupMode mode;
    const char* reason;  // found in the reason; none when handed over
    std::uint32_t addressType = kRegMultiSz;
};

class HandOverRuns : public HandOverTest, public ::testing::WithParamInterface<RunCase> {};

// Written last, only where the ghost is gone and the undo file is whole;
// the values keep their types, and nothing else of the successor changes.
TEST_P(HandOverRuns, WriteOnlyPastEveryGate) {
    GetParam().arrange(*this);
    Answer stop;
    stop.goOn = false;
    const DeletionReport report = DeleteAsPlanned(test.services, Plan(), GetParam().mode, stop, kFolder);
    ASSERT_TRUE(report.handOver);
    std::uint32_t type = kRegNone;
    const std::string address = SuccessorValue("IPAddress", type);
    if (GetParam().reason != nullptr) {
        EXPECT_FALSE(report.handOver->done);
        EXPECT_NE(std::string::npos, report.handOver->reason.find(GetParam().reason)) << report.handOver->reason;
        EXPECT_EQ("0.0.0.0\0\0"s, address) << "nothing written";
        EXPECT_FALSE(test.files.Content(kUndoFile)) << "no undo file left";
        EXPECT_FALSE(RestartNeeded(report));
        return;
    }
    EXPECT_TRUE(report.handOver->done) << report.handOver->reason;
    EXPECT_EQ(GetParam().addressType, type);
    EXPECT_EQ(GetParam().addressType == kRegSz ? "10.0.0.9\0"s : "10.0.0.9\0\0"s, address);
    EXPECT_EQ("\0\0\0\0"s, SuccessorValue("EnableDHCP", type));
    EXPECT_EQ("10.0.0.2,10.0.0.3\0"s, SuccessorValue("NameServer", type));
    EXPECT_EQ("0.0.0.0\0"s, SuccessorValue("DhcpIPAddress", type)) << "the lease is not the hand-over's";
    const std::string key = "HKEY_LOCAL_MACHINE\\" + kInterfaces + "{b2}]\r\n";
    EXPECT_EQ("REGEDIT4\r\n\r\n[-" + key + "\r\n[" + key + "\"DhcpIPAddress\"=\"0.0.0.0\"\r\n\"EnableDHCP\"=dword:00000001\r\n"
              "\"IPAddress\"=hex(7):30,2E,30,2E,30,2E,30,00,00\r\n\r\n",
              test.files.Content(kUndoFile).value_or(""));
    EXPECT_EQ(std::vector<Utf8Text>{kUndoFile}, report.backups);
    EXPECT_TRUE(RestartNeeded(report));
}

INSTANTIATE_TEST_SUITE_P(
    Gates, HandOverRuns,
    ::testing::Values(
        RunCase{"HandedOver", Nothing, BackupMode::None, nullptr},
        RunCase{"AddressAsOlderSystemsWriteIt",
                [](HandOverTest& t) { t.Set("{a1}", "IPAddress", kRegSz, "10.0.0.9\0"s); }, BackupMode::None, nullptr,
                kRegSz},
        RunCase{"EntryStays", [](HandOverTest& t) { t.ReadOnlyBelow(kAdapterEntries + "{A1}"); }, BackupMode::None,
                "the ghost's entry or IPv4 settings are still there"},
        RunCase{"SettingsStay", [](HandOverTest& t) { t.ReadOnlyBelow(kInterfaces + "{a1}"); }, BackupMode::None,
                "the ghost's entry or IPv4 settings are still there"},
        RunCase{"Stopped", [](HandOverTest& t) { t.ReadOnlyBelow(kAdapterEntries + "{A1}"); }, BackupMode::Selective,
                "the run stopped before it"},
        RunCase{"UndoFileCannotBeMade", [](HandOverTest& t) { t.test.files.FailOpensFrom(1); }, BackupMode::None,
                "the undo file could not be written whole"},
        RunCase{"UndoFileNotWhole", [](HandOverTest& t) { t.test.files.SetFreeSpace(150); }, BackupMode::None,
                "the undo file could not be written whole"}),
    [](const auto& info) { return info.param.what; });


// Whatever the run did, the ghost's entry must be gone too: one left would
// still claim its address for an adapter Windows may bring back.
TEST_F(HandOverTest, AnEntryLeftBehindIsLookedForNotAssumedGone) {
    const DeletionPlan plan = Plan();
    ASSERT_EQ(kSuccess, registry.SHDeleteKeyA(kLocalMachine, kInterfaces + "{a1}"));
    const HandOverResult result = HandOver(test.services, *plan.handOver, false, kFolder);
    EXPECT_FALSE(result.done);
    EXPECT_EQ("the ghost's entry or IPv4 settings are still there", result.reason);
    EXPECT_FALSE(result.undoFile);
}

}  // namespace
}  // namespace tarvex

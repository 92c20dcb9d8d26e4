#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "core/deletion_steps.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"
#include "registry/unique_key.h"
#include "support/fake_devices.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// As the console answers: a ghost whose settings no adapter can take stays whole.
class KeepTheGhost final : public DeletionQuestions {
public:
    bool DeleteWithoutHandOver(const HandOverPlan&) override { return false; }
    bool Uninstall(const DeletionPlan&) override { return true; }
    bool HandOver(const HandOverPlan&) override { return true; }
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
        test.installer.pluggedIn.insert(id);
    }
    void Set(const std::string& interface, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kInterfaces + interface, name, type, bytes));
    }
    // The listing of an interface's values breaks off at its last value, which grows whenever its size is asked.
    void ListingBreaksOff(const std::string& interface) {
        Set(interface, "ZBlob", kRegBinary, std::string(5000, 'x'));
        registry.GrowValueAfterSizeReport(kLocalMachine, kInterfaces + interface, "ZBlob", 2, 100);
    }
    void ReadOnlyBelow(const std::string& key) {
        ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, key + "\\Held"));
        registry.SetRights(kLocalMachine, key + "\\Held", {.canRead = false, .canWrite = false});
    }
    DeletionPlan Plan() { return PlanDeletion(test.services, selected, {true, false, request}); }
    // The ghost {A1} in another control set too, its row selected.
    void GhostIn(const std::string& controlSet) {
        const std::string entry = "SYSTEM\\" + controlSet + kNetworkClass + "{A1}";
        ASSERT_EQ(kSuccess, SeedConnection(registry, entry, "Ethernet", "PCI\\OLD\\1"));
        ASSERT_EQ(kSuccess, SeedIpSettings(registry, controlSet, "{a1}", "10.0.0.9"));
        selected.push_back(entry);
    }
    // Every value of the successor's key, as a backup would hold it.
    std::string SuccessorValues() {
        std::string lines;
        for (const ValueEntry& value : EnumValues(registry, kLocalMachine, kInterfaces + "{b2}")) lines += ValueLine(value);
        return lines;
    }
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
    const char* notInRefusal = "\x01";  // a text the refusal must not hold
};

class Pairing : public HandOverTest, public ::testing::WithParamInterface<PairingCase> {};

TEST_P(Pairing, TakesOneStaticGhostAndOneAdapterThatCanTakeItsSettings) {
    GetParam().arrange(*this);
    const DeletionPlan plan = Plan();
    ASSERT_TRUE(plan.handOver);
    const HandOverPlan& handOver = *plan.handOver;
    EXPECT_EQ(GetParam().staticGhost, !handOver.staticGhosts.empty());
    const std::optional<Utf8Text> why = WhyNotPaired(handOver);
    if (GetParam().refusal == nullptr) {
        EXPECT_FALSE(why) << *why;
        EXPECT_EQ(kInterfaces + "{b2}", handOver.successor.interfacesKey);
        EXPECT_EQ("10.0.0.9/255.255.255.0 gw 10.0.0.1 dns 10.0.0.2,10.0.0.3", SettingsText(handOver.settings));
        return;
    }
    ASSERT_TRUE(why);
    EXPECT_NE(std::string::npos, why->find(GetParam().refusal)) << *why;
    EXPECT_EQ(std::string::npos, why->find(GetParam().notInRefusal)) << *why;
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

// An admin moved the address by hand.
void StaticNewAdapterWithTheGhostsAddress(HandOverTest& t) {
    t.Set("{b2}", "EnableDHCP", kRegDword, "\0\0\0\0"s);
    t.Set("{b2}", "IPAddress", kRegMultiSz, "10.0.0.9\0\0"s);
}

const std::string kDriverKeys = "SYSTEM\\CurrentControlSet\\Control\\Class\\" + std::string(kNetClassDrivers);

// The driver key of that index names guid as its adapter's connection.
void DriverKeyNames(HandOverTest& t, const char* index, const char* guid) {
    ASSERT_EQ(kSuccess, t.registry.SetValue(kLocalMachine, kDriverKeys + index, "NetCfgInstanceId", kRegSz, guid + "\0"s));
}

// The driver key names the entry {B2} as {b2}.
void LowerCaseDriverGuid(HandOverTest& t) { DriverKeyNames(t, "0002", "{b2}"); }

// The driver key keeps its other values, but no Characteristics.
void WithoutCharacteristics(HandOverTest& t) {
    UniqueKey driver(t.registry);
    ASSERT_EQ(kSuccess, driver.Open(kLocalMachine, kDriverKeys + "0002", kKeyRead | kKeySetValue));
    ASSERT_EQ(kSuccess, t.registry.RegDeleteValueA(driver.get(), "Characteristics"));
}

// The ghost's address is in the lease's subnet, its gateway is not.
void GatewayElsewhere(HandOverTest& t) {
    t.Set("{b2}", "DhcpIPAddress", kRegSz, "10.0.0.50\0"s);
    t.Set("{b2}", "DhcpSubnetMask", kRegSz, "255.255.255.0\0"s);
    t.Set("{a1}", "DefaultGateway", kRegMultiSz, "10.0.1.1\0\0"s);
}

// A present adapter's driver key names {A1}: its settings are live, whatever the entry's PnpInstanceID says.
void BoundByAPresentDriver(HandOverTest& t) {
    DriverKeyNames(t, "0009", "{A1}");
    t.devices.present.push_back({"PCI\\NOW\\9", "Realtek"});
    t.devices.drivers["PCI\\NOW\\9"] = kNetClassDrivers + "0009"s;
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
        PairingCase{"SuccessorWithoutSettings",
                    [](HandOverTest& t) { ASSERT_EQ(kSuccess, t.registry.SHDeleteKeyA(kLocalMachine, kInterfaces + "{b2}")); },
                    "Ethernet 2 (Intel I219-V, {B2}): it has no IPv4 settings"},
        PairingCase{"Virtual", OnlyAdapter("{B5}", "PCI\\VPN\\5", "0005", 0x85),
                    "Ethernet 5 (Intel I219-V, {B5}): it is not a physical adapter (Characteristics 0x85)"},
        PairingCase{"RootEnumeratedPhysical", OnlyAdapter("{B6}", "ROOT\\NET\\0006", "0006", 0x84),
                    "it is a software device (ROOT\\NET\\0006)"},
        PairingCase{"SoftwareDevice", OnlyAdapter("{B7}", "SWD\\MSRRAS\\7", "0007", 0x84),
                    "it is a software device (SWD\\MSRRAS\\7)"},
        PairingCase{"NotPhysical", OnlyAdapter("{B8}", "PCI\\NEW\\8", "0008", 0), "(Characteristics 0x0)"},
        PairingCase{"NoCharacteristics", WithoutCharacteristics, "(Characteristics 0x0)"},
        PairingCase{"GatewayOutsideTheLease", GatewayElsewhere,
                    "another network than 10.0.0.9 with gateway 10.0.1.1: the hand-over would cut it off"},
        PairingCase{"GhostOnDhcp", [](HandOverTest& t) { t.Set("{a1}", "EnableDHCP", kRegDword, "\x01\0\0\0"s); },
                    "no selected entry of a gone adapter has static IPv4 settings", false},
        PairingCase{"GuidBoundByAPresentDriverKey", BoundByAPresentDriver,
                    "no selected entry of a gone adapter has static IPv4 settings", false},
        PairingCase{"TwinRowsAreOneGhost", [](HandOverTest& t) { t.GhostIn("ControlSet001"); }, nullptr},
        PairingCase{"OnlyAnotherControlSetsRow",
                    [](HandOverTest& t) {
                        t.GhostIn("ControlSet002");
                        t.selected.erase(t.selected.begin());
                    },
                    "Ethernet ({A1}) has static IPv4 settings in CurrentControlSet that this run does not delete: "
                    "select its CurrentControlSet row"},
        PairingCase{"GuidCaseDiffers", LowerCaseDriverGuid, nullptr},
        PairingCase{"DhcpAdapterListingTheAddressDoesNotHoldIt", NewAdapterHas("IPAddress", kRegMultiSz, "10.0.0.9\0\0"s),
                    "Ethernet 2 (Intel I219-V, {B2}): it has a static address of its own: 10.0.0.9"},
        PairingCase{"SeveralCouldTakeThemNamesNoneThatCannot",
                    [](HandOverTest& t) {
                        t.AddSuccessor("{B4}", "PCI\\NEW\\4", "0004", 0x84);
                        t.AddSuccessor("{B5}", "PCI\\VPN\\5", "0005", 0x85);
                    },
                    "several present adapters could take them: Ethernet 2 (Intel I219-V, {B2}), Ethernet 4", true,
                    "Characteristics"},
        PairingCase{"SuccessorNotReadWhole", [](HandOverTest& t) { t.ListingBreaksOff("{b2}"); },
                    "Ethernet 2 (Intel I219-V, {B2}): its IPv4 settings could not be read whole"},
        PairingCase{"GhostNotReadWhole", [](HandOverTest& t) { t.ListingBreaksOff("{a1}"); },
                    "the ghost's IPv4 settings could not be read whole"},
        PairingCase{"LeaseWithoutAMask", NewAdapterHas("DhcpIPAddress", kRegSz, "10.0.0.50\0"s),
                    "it is reachable on its lease 10.0.0.50, whose subnet mask is unknown"},
        PairingCase{"LeaseWithAnUnreadableMask",
                    [](HandOverTest& t) {
                        LeaseAlike(t);
                        t.Set("{b2}", "DhcpSubnetMask", kRegSz, "255.255\0"s);
                    },
                    "it is reachable on its lease 10.0.0.50, whose subnet mask is unknown"},
        PairingCase{"ValueOutsideTheCodePage", DomainOutsideTheCodePage,
                    "the ghost's Domain cannot be written exactly in the ANSI code page"}),
    [](const auto& info) { return info.param.what; });

enum class Written { HandedOver, Nothing, PutBack, Partly };

struct RunCase {
    const char* what;
    std::function<void(HandOverTest&)> arrange;  // before the plan
    BackupMode mode;
    Written written;
    const char* reason = nullptr;  // found in the reason
    std::function<void(HandOverTest&)> meanwhile = Nothing;  // between the plan and the write
    std::uint32_t addressType = kRegMultiSz;
    bool ghostStays = false;  // its entry and its settings are still there
};

class HandOverRuns : public HandOverTest, public ::testing::WithParamInterface<RunCase> {};

// The undo file of the seeded successor: the block of its key, then each
// value the hand-over writes as it was, or a line that deletes it.
const std::string kUndo = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kInterfaces + "{b2}]\r\n"
                          "\"IPAddress\"=hex(7):30,2E,30,2E,30,2E,30,00,00\r\n\"SubnetMask\"=-\r\n"
                          "\"DefaultGateway\"=-\r\n\"NameServer\"=-\r\n\"EnableDHCP\"=dword:00000001\r\n\r\n";

// Written last, only past every gate, all or nothing: the values keep their
// types, nothing else of the successor changes, and a failed write puts
// back what it wrote; the undo file holds exactly what was written over.
TEST_P(HandOverRuns, WriteOnlyPastEveryGate) {
    GetParam().arrange(*this);
    Answer stop;
    stop.goOn = false;
    DeletionPlan plan = Plan();
    ASSERT_TRUE(plan.handOver);
    KeepTheGhost questions;
    ASSERT_EQ(Readiness::Ready, PrepareDeletion(test.services, plan, questions, kFolder, false));
    GetParam().meanwhile(*this);
    const std::string before = SuccessorValues();
    const DeletionReport report = DeleteAsPlanned(test.services, plan, GetParam().mode, stop, kFolder);
    ASSERT_TRUE(report.handOver);
    const HandOverResult& result = *report.handOver;
    std::uint32_t type = kRegNone;
    const std::string address = SuccessorValue("IPAddress", type);
    if (GetParam().reason != nullptr) {
        EXPECT_NE(std::string::npos, result.reason.find(GetParam().reason)) << result.reason;
    }
    EXPECT_EQ(GetParam().written == Written::HandedOver, result.done) << result.reason;
    EXPECT_EQ(GetParam().written == Written::Partly, result.partial);
    EXPECT_EQ(GetParam().written != Written::Nothing, test.files.Content(kUndoFile).has_value()) << "kept once written";
    EXPECT_EQ(result.undoFile.has_value(), std::count(report.backups.begin(), report.backups.end(), kUndoFile) == 1);
    EXPECT_EQ(result.done, RestartNeeded(report));
    EXPECT_EQ(GetParam().ghostStays, registry.KeyExists(kLocalMachine, kAdapterEntries + "{A1}"));
    if (GetParam().ghostStays) {
        EXPECT_TRUE(registry.KeyExists(kLocalMachine, kInterfaces + "{a1}")) << "kept whole";
    }
    switch (GetParam().written) {
        case Written::HandedOver:
            EXPECT_EQ(GetParam().addressType, type);
            EXPECT_EQ(GetParam().addressType == kRegSz ? "10.0.0.9\0"s : "10.0.0.9\0\0"s, address);
            EXPECT_EQ("\0\0\0\0"s, SuccessorValue("EnableDHCP", type));
            EXPECT_EQ("10.0.0.2,10.0.0.3\0"s, SuccessorValue("NameServer", type));
            EXPECT_EQ("0.0.0.0\0"s, SuccessorValue("DhcpIPAddress", type)) << "the lease is not the hand-over's";
            EXPECT_EQ(kUndo, test.files.Content(kUndoFile).value_or(""));
            break;
        case Written::Nothing:
        case Written::PutBack:
            EXPECT_EQ(before, SuccessorValues()) << "as it was just before, values it did not have taken away again";
            break;
        case Written::Partly:
            EXPECT_EQ(kUndo, test.files.Content(kUndoFile).value_or(""));
            break;
    }
}

// The n-th write of a value from now on fails with status 5.
std::function<void(HandOverTest&)> WriteFails(int skipped) {
    return [=](HandOverTest& t) { t.registry.InjectFault({RegistryCall::SetValue, 5, skipped}); };
}

INSTANTIATE_TEST_SUITE_P(
    Gates, HandOverRuns,
    ::testing::Values(
        RunCase{"HandedOver", Nothing, BackupMode::None, Written::HandedOver},
        RunCase{"AddressAsOlderSystemsWriteIt",
                [](HandOverTest& t) { t.Set("{a1}", "IPAddress", kRegSz, "10.0.0.9\0"s); }, BackupMode::None,
                Written::HandedOver, nullptr, Nothing, kRegSz},
        RunCase{"EntryStays", [](HandOverTest& t) { t.ReadOnlyBelow(kAdapterEntries + "{A1}"); }, BackupMode::None,
                Written::Nothing, "the ghost's entry or IPv4 settings are still there", Nothing, kRegMultiSz, true},
        RunCase{"SettingsStay", [](HandOverTest& t) { t.ReadOnlyBelow(kInterfaces + "{a1}"); }, BackupMode::None,
                Written::Nothing, "the ghost's entry or IPv4 settings are still there"},
        RunCase{"Stopped", [](HandOverTest& t) { t.ReadOnlyBelow(kAdapterEntries + "{A1}"); }, BackupMode::Selective,
                Written::Nothing, "the run stopped before it", Nothing, kRegMultiSz, true},
        RunCase{"NoAdapterCanTakeThemKeepsTheGhostWhole", [](HandOverTest& t) { t.devices.drivers.clear(); },
                BackupMode::None, Written::Nothing, "no present adapter can take them", Nothing, kRegMultiSz, true},
        RunCase{"AddressHeldAlreadyNeedsNoHandOver", StaticNewAdapterWithTheGhostsAddress, BackupMode::None,
                Written::Nothing, "Ethernet 2 (Intel I219-V, {B2}) has 10.0.0.9 already"},
        RunCase{"SuccessorUnpluggedSinceThePlan", Nothing, BackupMode::None, Written::Nothing,
                "Ethernet 2 (Intel I219-V, {B2}) is no longer present",
                [](HandOverTest& t) { t.test.installer.pluggedIn.clear(); }},
        RunCase{"SuccessorsPresenceUnknown", Nothing, BackupMode::None, Written::Nothing,
                "whether Ethernet 2 (Intel I219-V, {B2}) is still present could not be checked: CM_Get_DevNode_Status "
                "failed with error 19",
                [](HandOverTest& t) { t.test.installer.uncheckable.insert("PCI\\NEW\\2"); }},
        RunCase{"SuccessorNotReadWholeJustBefore", Nothing, BackupMode::None, Written::Nothing,
                "changed since the deletion was planned: its IPv4 settings could not be read whole",
                [](HandOverTest& t) { t.ListingBreaksOff("{b2}"); }},
        RunCase{"UndoFileCannotBeOpenedAgain", Nothing, BackupMode::None, Written::Nothing,
                "the undo file C:\\Tools\\HandOver-20261208-070509.reg could not be written whole",
                [](HandOverTest& t) { t.test.files.FailOpensFrom(2); }},
        RunCase{"UndoFileNotWhole", Nothing, BackupMode::None, Written::Nothing, "could not be written whole",
                [](HandOverTest& t) { t.test.files.SetFreeSpace(150); }},
        RunCase{"UndoFileBecameALink", Nothing, BackupMode::None, Written::Nothing, "could not be written whole",
                [](HandOverTest& t) {
                    t.test.files.AddFolder("C:\\Windows\\");
                    t.test.files.SetContent("C:\\Windows\\win.ini", "[fonts]\r\n");
                    t.test.files.Remove(kUndoFile);
                    t.test.files.AddLink(kUndoFile, "C:\\Windows\\win.ini");
                }},
        RunCase{"LeaseTakenSinceThePlan", Nothing, BackupMode::None, Written::Nothing,
                "Ethernet 2 changed since the deletion was planned: it is reachable on its lease "
                "192.168.1.20/255.255.255.0 from 192.168.1.1, another network",
                [](HandOverTest& t) {
                    LeaseElsewhere(t);
                    t.Set("{b2}", "DhcpServer", kRegSz, "192.168.1.1\0"s);
                }},
        RunCase{"AddressGivenSinceThePlan", Nothing, BackupMode::None, Written::Nothing,
                "changed since the deletion was planned: it has a static address of its own: 192.168.5.5",
                NewAdapterHas("IPAddress", kRegMultiSz, "192.168.5.5\0\0"s)},
        RunCase{"EntryGoneSinceThePlan", Nothing, BackupMode::None, Written::Nothing,
                "changed since the deletion was planned: it has no connection entry in the current control set",
                [](HandOverTest& t) { ASSERT_EQ(kSuccess, t.registry.SHDeleteKeyA(kLocalMachine, kAdapterEntries + "{B2}")); }},
        RunCase{"ItsValueOutsideTheCodePage", Nothing, BackupMode::None, Written::Nothing,
                "the new adapter's IPAddress cannot be kept exactly in the ANSI code page",
                [](HandOverTest& t) {
                    t.registry.MarkBeyondAnsi(kLocalMachine, kInterfaces + "{b2}", "IPAddress", AnsiFit::DataLost);
                }},
        RunCase{"FirstWriteFails", Nothing, BackupMode::None, Written::Nothing, "writing IPAddress gave status 5",
                WriteFails(0)},
        RunCase{"LaterWriteFailsAndAllIsPutBack", Nothing, BackupMode::None, Written::PutBack,
                "writing DefaultGateway gave status 5; the values written before it were put back as they were",
                WriteFails(2)},
        RunCase{"PutBackFails", Nothing, BackupMode::None, Written::Partly,
                "writing DefaultGateway gave status 5, and putting SubnetMask back gave status 5",
                [](HandOverTest& t) {
                    WriteFails(2)(t);
                    t.registry.InjectFault({RegistryCall::DeleteValue, 5, 0});
                }}),
    [](const auto& info) { return info.param.what; });

// Whatever the run did, the ghost's entry must be gone too: one left would
// still claim its address for an adapter Windows may bring back.
TEST_F(HandOverTest, AnEntryLeftBehindIsLookedForNotAssumedGone) {
    DeletionPlan plan = Plan();
    ASSERT_TRUE(PrepareUndoFile(test.services, *plan.handOver, kFolder, false));
    ASSERT_EQ(kSuccess, registry.SHDeleteKeyA(kLocalMachine, kInterfaces + "{a1}"));
    const HandOverResult result = HandOver(test.services, *plan.handOver, false);
    EXPECT_FALSE(result.done);
    EXPECT_EQ("the ghost's entry or IPv4 settings are still there", result.reason);
    EXPECT_FALSE(result.undoFile);
    EXPECT_FALSE(test.files.Content(kUndoFile)) << "nothing written, nothing kept";
}

// Kept whole, a ghost keeps its device too, and an entry of another GUID
// naming that device keeps the settings that only its uninstall would free;
// the devices that still go keep their places.
TEST_F(HandOverTest, AGhostKeptWholeKeepsItsDeviceAndWhatOnlyItsUninstallWouldFree) {
    devices.drivers.clear();  // no adapter can take the settings
    devices.phantoms = {{"PCI\\OLD\\1", "Old NIC"}, {"USB\\DOCK\\3", "Dock"}};
    GhostIn("ControlSet001");
    ASSERT_EQ(kSuccess, SeedConnection(registry, kAdapterEntries + "{A9}", "Other", "PCI\\OLD\\1"));
    ASSERT_EQ(kSuccess, SeedIpSettings(registry, "CurrentControlSet", "{a9}", "10.0.0.7"));
    Set("{a9}", "EnableDHCP", kRegDword, "\x01\0\0\0"s);
    ASSERT_EQ(kSuccess, SeedConnection(registry, kAdapterEntries + "{C3}", "Dock", "USB\\DOCK\\3"));
    selected = {kAdapterEntries + "{C3}", kAdapterEntries + "{A1}", selected[1], kAdapterEntries + "{A9}"};
    DeletionPlan plan = PlanDeletion(test.services, selected, {true, true, request});
    ASSERT_EQ(2u, plan.devices.size());
    KeepTheGhost questions;
    ASSERT_EQ(Readiness::Ready, PrepareDeletion(test.services, plan, questions, kFolder, false));
    ASSERT_EQ(1u, plan.devices.size());
    EXPECT_EQ("USB\\DOCK\\3", plan.devices[0].instanceId);
    EXPECT_EQ(std::optional<std::size_t>(0), plan.entries[0].device) << "the dock's device keeps its place";
    ASSERT_EQ(1u, plan.keptDevices.size());
    EXPECT_EQ("PCI\\OLD\\1", plan.keptDevices[0].device.instanceId);
    for (std::size_t ghost : {1, 2}) {
        EXPECT_TRUE(plan.entries[ghost].keptWhole);
        EXPECT_TRUE(plan.entries[ghost].ipSettings.empty());
        EXPECT_EQ(4u, plan.entries[ghost].keptIpSettings.size());
        EXPECT_FALSE(plan.entries[ghost].device);
    }
    const PlannedEntry& other = plan.entries[3];
    EXPECT_FALSE(other.keptWhole);
    EXPECT_FALSE(other.device);
    EXPECT_TRUE(other.ipSettings.empty()) << "its device stays installed";
    EXPECT_EQ(KeptReason::StillInstalled, other.keptReason);
}

// The dry run's probe is removed at once; a run that has no undo file writes nothing.
TEST_F(HandOverTest, OnlyARealRunKeepsAnUndoFileAndNoneWritesNothing) {
    DeletionPlan plan = Plan();
    ASSERT_TRUE(PrepareUndoFile(test.services, *plan.handOver, kFolder, true));
    EXPECT_FALSE(plan.handOver->undoFile);
    EXPECT_FALSE(test.files.Content(kUndoFile));
    const std::string before = SuccessorValues();
    ASSERT_EQ(kSuccess, registry.SHDeleteKeyA(kLocalMachine, kAdapterEntries + "{A1}"));
    ASSERT_EQ(kSuccess, registry.SHDeleteKeyA(kLocalMachine, kInterfaces + "{a1}"));
    EXPECT_EQ("no undo file was made for it", HandOver(test.services, *plan.handOver, false).reason);
    EXPECT_EQ(before, SuccessorValues());
}

}  // namespace
}  // namespace tarvex

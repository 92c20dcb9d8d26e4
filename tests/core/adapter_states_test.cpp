#include "core/connection_scan.h"
#include "support/fake_devices.h"
#include "support/memory_registry.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kConnection[] = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{1}";

// The entry "Ethernet" whose adapter is the device instanceId.
bool SeedEthernet(MemoryRegistry& registry, const std::string& instanceId) {
    const std::string connection = std::string(kConnection) + "\\Connection";
    return registry.SetValue(kLocalMachine, connection, "Name", kRegSz, "Ethernet\0"s) == kSuccess &&
           registry.SetValue(kLocalMachine, connection, "PnpInstanceID", kRegSz, instanceId + '\0') == kSuccess;
}

struct AdapterCase {
    const char* what;
    std::optional<std::pair<std::uint32_t, std::string>> pnpInstanceId;  // type and bytes
    AdapterState adapter;
    const char* device;
};

// Present: USB\VID_0B95&PID_1790\1 ("USB GbE", friendly name "Dock LAN");
// not present: PCI\VEN_10EC&DEV_8168\4&1 ("Realtek PCIe GbE").
class AdapterCell : public ::testing::TestWithParam<AdapterCase> {
protected:
    void SetUp() override {
        devices.present = {{"USB\\VID_0B95&PID_1790\\1", "Dock LAN"}};
        devices.phantoms = {{"PCI\\VEN_10EC&DEV_8168\\4&1", "Realtek PCIe GbE"}};
        const std::string connection = std::string(kConnection) + "\\Connection";
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, connection, "Name", kRegSz, "Ethernet\0"s));
        if (const auto& id = GetParam().pnpInstanceId) {
            ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, connection, "PnpInstanceID", id->first, id->second));
        }
    }
    MemoryRegistry registry;
    FakeDevices devices;
};

TEST_P(AdapterCell, ShowsTheDeviceAsSetupApiKnowsIt) {
    std::vector<ConnectionRow> rows = ScanConnectionRows(TestServices(registry, devices).services, RowReads::Adapters).rows;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Ethernet", rows[0].name);
    EXPECT_EQ(GetParam().adapter, rows[0].adapter) << AdapterText(rows[0].adapter);
    EXPECT_EQ(GetParam().device, rows[0].device);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AdapterCell,
    ::testing::Values(
        AdapterCase{"Present", {{kRegSz, "USB\\VID_0B95&PID_1790\\1\0"s}}, AdapterState::Present, "Dock LAN"},
        AdapterCase{"NotPresent", {{kRegSz, "PCI\\VEN_10EC&DEV_8168\\4&1\0"s}}, AdapterState::NotPresent,
                    "Realtek PCIe GbE"},
        AdapterCase{"NoDevice", {{kRegSz, "PCI\\VEN_8086&DEV_100E\\3&9\0"s}}, AdapterState::NoDevice, ""},
        AdapterCase{"NoInstanceId", std::nullopt, AdapterState::Unknown, ""},
        AdapterCase{"EmptyInstanceId", {{kRegSz, "\0"s}}, AdapterState::Unknown, ""},
        AdapterCase{"TwoNulsEndTheId", {{kRegSz, "USB\\VID_0B95&PID_1790\\1\0\0"s}}, AdapterState::Present,
                    "Dock LAN"},
        AdapterCase{"InstanceIdNotText", {{kRegBinary, "USB\\VID_0B95&PID_1790\\1"s}}, AdapterState::Unknown, ""},
        AdapterCase{"InstanceIdAsMultiText", {{kRegMultiSz, "USB\\VID_0B95&PID_1790\\1\0\0"s}},
                    AdapterState::Unknown, ""},
        AdapterCase{"CaseDiffers", {{kRegSz, "usb\\vid_0b95&pid_1790\\1\0"s}}, AdapterState::Present, "Dock LAN"}),
    [](const auto& info) { return info.param.what; });

TEST(AdapterStates, SetupApiFailingLeavesTheCellsEmptyAndTheRowsAsTheyAre) {
    MemoryRegistry registry;
    ASSERT_TRUE(SeedEthernet(registry, "PCI\\X\\1"));
    FakeDevices devices;
    devices.failing = true;
    std::vector<ConnectionRow> rows = ScanConnectionRows(TestServices(registry, devices).services, RowReads::Adapters).rows;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(kConnection, rows[0].key);
    EXPECT_EQ("PCI\\X\\1", rows[0].pnpInstanceId.value_or(""));
    EXPECT_EQ(AdapterState::Unknown, rows[0].adapter);
    EXPECT_EQ("", rows[0].device);
}

struct DeviceListing {
    const char* what;
    bool anyPresent;
    bool anyPhantom;
    bool failed;
};

class ListedDevices : public ::testing::TestWithParam<DeviceListing> {};

// Windows always has network devices: a query that lists none at all did not
// list them whole, and would turn every entry into "No device".
TEST_P(ListedDevices, NoDeviceAtAllIsAFailedQuery) {
    MemoryRegistry registry;
    ASSERT_TRUE(SeedEthernet(registry, "PCI\\GONE\\1"));
    FakeDevices devices;
    if (!GetParam().anyPresent) devices.present.clear();
    if (GetParam().anyPhantom) devices.phantoms = {{"USB\\OLD\\2", "Old dongle"}};
    const ConnectionScan scan = ScanConnectionRows(TestServices(registry, devices).services, RowReads::Adapters);
    ASSERT_EQ(1u, scan.rows.size());
    EXPECT_EQ(GetParam().failed, scan.deviceError.has_value());
    EXPECT_EQ(GetParam().failed ? AdapterState::Unknown : AdapterState::NoDevice, scan.rows[0].adapter);
    if (GetParam().failed) {
        EXPECT_EQ("SetupDiEnumDeviceInfo failed with error 259: No network device was listed at all, though Windows "
                  "always has some.",
                  FailureText(*scan.deviceError));
    }
}

INSTANTIATE_TEST_SUITE_P(Queries, ListedDevices,
                         ::testing::Values(DeviceListing{"None", false, false, true},
                                           DeviceListing{"OnlyPresent", true, false, false},
                                           DeviceListing{"OnlyNotPresent", false, true, false}),
                         [](const auto& info) { return info.param.what; });

TEST(AdapterStates, CellTexts) {
    EXPECT_STREQ("Present", AdapterText(AdapterState::Present));
    EXPECT_STREQ("Not present", AdapterText(AdapterState::NotPresent));
    EXPECT_STREQ("No device", AdapterText(AdapterState::NoDevice));
    EXPECT_STREQ("", AdapterText(AdapterState::Unknown));
}

}  // namespace
}  // namespace tarvex

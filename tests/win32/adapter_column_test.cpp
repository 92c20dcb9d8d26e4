// The Adapter and Device cells over the real registry and the real SetupAPI
// calls. wine lists the devices recorded under CurrentControlSet\Enum and
// counts every one present, so "Not present" is shown only natively.
#include "core/connection_scan.h"
#include "registry/unique_key.h"
#include "support/network_devices.h"
#include "support/seed_connection.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"
#include "win32/setupapi_installer.h"
#include "win32/setupapi_devices.h"
#include "win32/unique_device_info_set.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kClass[] = "{7E57C1A5-0000-4000-8000-00000000ADA9}";
constexpr char kEnumBus[] = "SYSTEM\\CurrentControlSet\\Enum\\TARVEXTEST";
constexpr std::uint64_t kArrival = 134'355'109'250'000'000;  // 2026-10-03T14:22:05Z
constexpr std::uint64_t kRemoval = 134'326'944'000'000'000;  // 2026-09-01T00:00:00Z

struct Cells {
    AdapterState adapter;
    std::string device;
    bool operator==(const Cells&) const = default;
};

class AdapterColumnOverSetupApi : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveSeed();
        ASSERT_EQ(kSuccess, SeedNetworkDevice(writer_, "TARVEXTEST\\DESC_ONLY\\1", "Realtek USB GbE Family Controller", ""));
        ASSERT_EQ(kSuccess, SeedNetworkDevice(writer_, "TARVEXTEST\\FRIENDLY\\2", "Intel(R) Ethernet I219-V",
                                              "Office dock (Intel I219-V)"));
        ASSERT_EQ(kSuccess, SeedDeviceDate(writer_, "TARVEXTEST\\FRIENDLY\\2", 102, kArrival));
        ASSERT_EQ(kSuccess, SeedDeviceDate(writer_, "TARVEXTEST\\FRIENDLY\\2", 103, kRemoval));
        // Seeded under both sets: in wine CurrentControlSet is a key of its own.
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            Connection(set, "{1}", "Dongle", "TARVEXTEST\\DESC_ONLY\\1");
            Connection(set, "{2}", "Dock", "tarvextest\\friendly\\2");
            Connection(set, "{3}", "Gone", "TARVEXTEST\\UNINSTALLED\\3");
            Connection(set, "{4}", "No ID", nullptr);
        }
    }
    void TearDown() override { RemoveSeed(); }

    void Connection(const char* set, const char* key, const char* name, const char* instanceId) {
        ASSERT_EQ(kSuccess, SeedConnection(writer_, Network(set) + "\\" + key, name, instanceId ? instanceId : ""));
    }
    static std::string Network(const char* set) {
        return "SYSTEM\\"s + set + "\\Control\\Network\\" + kClass;
    }
    void RemoveSeed() {
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) registry_.SHDeleteKeyA(kLocalMachine, Network(set));
        registry_.SHDeleteKeyA(kLocalMachine, kEnumBus);
    }

    Win32Services win_;
    Win32Registry& registry_ = win_.registry;
    Win32RegistryWriter writer_;
    SetupApiDevices& devices_ = win_.platform.devices;
};

TEST_F(AdapterColumnOverSetupApi, EachKindOfRowGetsItsCells) {
    std::map<std::string, Cells> cells;
    for (const ConnectionRow& row : ScanConnectionRows(win_.services, RowReads::Adapters).rows) {
        if (row.key.rfind(Network("CurrentControlSet"), 0) == 0) cells[row.name] = {row.adapter, row.device};
    }
    EXPECT_EQ((Cells{AdapterState::Present, "Realtek USB GbE Family Controller"}), cells["Dongle"]);
    EXPECT_EQ((Cells{AdapterState::Present, "Office dock (Intel I219-V)"}), cells["Dock"]) << "friendly name first";
    EXPECT_EQ((Cells{AdapterState::NoDevice, ""}), cells["Gone"]);
    EXPECT_EQ((Cells{AdapterState::Unknown, ""}), cells["No ID"]);
}

TEST_F(AdapterColumnOverSetupApi, BothQueriesListTheSeededDevices) {
    DeviceList<AnsiText> present = devices_.PresentDevices();
    DeviceList<NetworkDevice> known = devices_.KnownDevices();
    ASSERT_FALSE(present.error || known.error);
    std::map<AnsiText, Utf8Text> seeded;
    for (const NetworkDevice& device : known.devices) {
        if (device.instanceId.rfind("TARVEXTEST\\", 0) == 0) seeded[device.instanceId] = device.name;
        if (device.instanceId == "TARVEXTEST\\FRIENDLY\\2") {
            EXPECT_EQ(std::optional<FileTime>(kArrival), device.lastArrival);
            EXPECT_EQ(std::optional<FileTime>(kRemoval), device.lastRemoval);
        }
        if (device.instanceId == "TARVEXTEST\\DESC_ONLY\\1") {
            EXPECT_FALSE(device.lastArrival || device.lastRemoval) << "never recorded: unknown";
        }
    }
    EXPECT_EQ((std::map<AnsiText, Utf8Text>{{"TARVEXTEST\\DESC_ONLY\\1", "Realtek USB GbE Family Controller"},
                                            {"TARVEXTEST\\FRIENDLY\\2", "Office dock (Intel I219-V)"}}),
              seeded);
    int presentSeeded = 0;
    for (const AnsiText& id : present.devices) presentSeeded += id.rfind("TARVEXTEST\\", 0) == 0;
    EXPECT_EQ(2, presentSeeded) << "wine counts every listed device present";
}

// wine carries DIF_REMOVE out as Device Manager's uninstall does: the
// device's Enum key and its driver key go. Its node status is a stub that
// counts every device present, so the presence check answers Present.
TEST(DeviceInstallerOverSetupApi, UninstallRemovesTheDeviceAndItsDriverKey) {
    Win32Registry registry;
    Win32RegistryWriter writer;
    const std::string id = "TARVEXUNINSTALL\\NIC\\1";
    const std::string enumKey = "SYSTEM\\CurrentControlSet\\Enum\\" + id;
    const std::string driverKey =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}\\7357";
    ASSERT_EQ(kSuccess, SeedNetworkDevice(writer, id, "Ghost adapter", ""));
    ASSERT_EQ(kSuccess, writer.SetValue(kLocalMachine, enumKey, "Driver", kRegSz,
                                        "{4d36e972-e325-11ce-bfc1-08002be10318}\\7357"s + '\0'));
    ASSERT_EQ(kSuccess, writer.SetValue(kLocalMachine, driverKey, "DriverDesc", kRegSz, "Ghost adapter"s + '\0'));
    const auto exists = [&](const std::string& key) {
        UniqueKey opened(registry);
        return opened.Open(kLocalMachine, key, kKeyRead) == kSuccess;
    };
    ASSERT_TRUE(exists(enumKey));

    SetupApiDevices devices;
    std::string driver;
    for (const DeviceDriver& present : devices.PresentDrivers().devices) {
        if (present.instanceId == id) driver = present.driver;
    }
    EXPECT_EQ("{4d36e972-e325-11ce-bfc1-08002be10318}\\7357", driver);
    // Only that the uninstall is made quiet can be seen here: wine shows nothing either way.
    {
        UniqueDeviceInfoSet set(SetupDiCreateDeviceInfoList(nullptr, nullptr));
        SP_DEVINFO_DATA data{sizeof(data)};
        ASSERT_TRUE(SetupDiOpenDeviceInfoW(set.get(), Utf8ToWide(id).c_str(), nullptr, 0, &data));
        ASSERT_EQ(nullptr, PrepareQuietRemoval(set.get(), data, GetDesktopWindow()));
        SP_DEVINSTALL_PARAMS_W params{sizeof(params)};
        ASSERT_TRUE(SetupDiGetDeviceInstallParamsW(set.get(), &data, &params));
        EXPECT_NE(0u, params.Flags & DI_QUIETINSTALL);
        EXPECT_EQ(GetDesktopWindow(), params.hwndParent);
    }

    SetupApiInstaller installer;
    EXPECT_EQ(Presence::Present, installer.CheckPresence(id).presence);
    const UninstallResult result = installer.Uninstall(id);
    EXPECT_TRUE(result.uninstalled) << (result.error ? FailureText(*result.error) : "");
    EXPECT_FALSE(result.restartNeeded);
    EXPECT_FALSE(exists(enumKey));
    EXPECT_FALSE(exists(driverKey));
    registry.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXUNINSTALL");
    registry.SHDeleteKeyA(kLocalMachine, driverKey);

    const UninstallResult again = installer.Uninstall(id);
    EXPECT_FALSE(again.uninstalled) << "a device no longer there cannot be opened";
    ASSERT_TRUE(again.error);
    EXPECT_EQ("SetupDiOpenDeviceInfoW", again.error->call);
}

}  // namespace
}  // namespace tarvex

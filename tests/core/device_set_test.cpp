#include "core/device_set.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tarvex {
namespace {

// A device set that lists ids, and may fail at an item or at reading its ID.
class ScriptedSet final : public DeviceSet {
public:
    explicit ScriptedSet(std::vector<AnsiText> ids) : ids_(std::move(ids)) {}
    std::uint32_t Select(std::uint32_t index) override {
        current_ = index;
        if (auto failure = selectFailures.find(index); failure != selectFailures.end()) return failure->second;
        return index < ids_.size() ? 0 : kNoMoreDevices;
    }
    std::uint32_t InstanceId(AnsiText& id) override {
        if (current_ == unreadableId) return 122;  // ERROR_INSUFFICIENT_BUFFER
        id = ids_[current_];
        return 0;
    }
    Utf8Text Name() override { return "name of " + ids_[current_]; }
    // Only the second item recorded its dates.
    std::optional<FileTime> LastArrival() override { return current_ == 1 ? std::optional<FileTime>(100) : std::nullopt; }
    std::optional<FileTime> LastRemoval() override { return current_ == 1 ? std::optional<FileTime>(200) : std::nullopt; }
    AnsiText Driver() override { return "{driver}\\000" + std::to_string(current_); }

    std::map<std::uint32_t, std::uint32_t> selectFailures;
    std::uint32_t unreadableId = 1000;

private:
    std::vector<AnsiText> ids_;
    std::uint32_t current_ = 0;
};

TEST(DeviceSetListing, AWholeSetGivesEveryDeviceInOrder) {
    ScriptedSet set({"PCI\\A\\1", "USB\\B\\2", "ROOT\\C\\3"});
    DeviceList<NetworkDevice> named = ListNamedDevices(set);
    ASSERT_FALSE(named.error);
    ASSERT_EQ(3u, named.devices.size());
    EXPECT_EQ("USB\\B\\2", named.devices[1].instanceId);
    EXPECT_EQ("name of USB\\B\\2", named.devices[1].name);
    EXPECT_EQ(std::optional<FileTime>(100), named.devices[1].lastArrival);
    EXPECT_EQ(std::optional<FileTime>(200), named.devices[1].lastRemoval);
    EXPECT_FALSE(named.devices[0].lastArrival || named.devices[0].lastRemoval);
    EXPECT_EQ((std::vector<AnsiText>{"PCI\\A\\1", "USB\\B\\2", "ROOT\\C\\3"}), ListInstanceIds(set).devices);
    EXPECT_EQ("{driver}\\0001", ListDrivers(set).devices[1].driver);
}

// Live adapters after the break would otherwise read as gone, and --stale would delete them.
TEST(DeviceSetListing, ASetThatBreaksOffPartwayIsNoList) {
    ScriptedSet breaks({"PCI\\A\\1", "USB\\B\\2", "ROOT\\C\\3"});
    breaks.selectFailures[2] = 13;  // ERROR_INVALID_DATA
    for (const DeviceList<AnsiText>& list : {ListInstanceIds(breaks)}) {
        EXPECT_TRUE(list.devices.empty());
        ASSERT_TRUE(list.error);
        EXPECT_EQ("SetupDiEnumDeviceInfo", list.error->call);
        EXPECT_EQ(13u, list.error->code);
    }
    EXPECT_TRUE(ListNamedDevices(breaks).error);

    ScriptedSet unreadable({"PCI\\A\\1", "USB\\B\\2", "ROOT\\C\\3"});
    unreadable.unreadableId = 1;
    DeviceList<NetworkDevice> named = ListNamedDevices(unreadable);
    EXPECT_TRUE(named.devices.empty());
    ASSERT_TRUE(named.error);
    EXPECT_EQ("SetupDiGetDeviceInstanceIdW", named.error->call);
    EXPECT_EQ(122u, named.error->code);
}

}  // namespace
}  // namespace tarvex

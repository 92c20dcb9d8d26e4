#pragma once

#include "core/device_query.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>

namespace tarvex {

// The status a device set gives past its last item (ERROR_NO_MORE_ITEMS).
inline constexpr std::uint32_t kNoMoreDevices = 259;

// One device set as the system lists it, item by item.
class DeviceSet {
public:
    virtual ~DeviceSet() = default;
    // Makes item index the current one: 0, kNoMoreDevices past the last, or an error.
    virtual std::uint32_t Select(std::uint32_t index) = 0;
    // The current item's instance ID: 0, or an error.
    virtual std::uint32_t InstanceId(AnsiText& id) = 0;
    // The current item's friendly name, else its description; empty when it has neither.
    virtual Utf8Text Name() = 0;
    // The current item's recorded arrival and removal, each when it has one.
    virtual std::optional<FileTime> LastArrival() = 0;
    virtual std::optional<FileTime> LastRemoval() = 0;
    // The current item's driver key (SPDRP_DRIVER); empty when it has none.
    virtual AnsiText Driver() = 0;
};

// Every item's instance ID, or the first error: a set that ends on any
// status but kNoMoreDevices, or an item whose ID cannot be read, is no list.
DeviceList<AnsiText> ListInstanceIds(DeviceSet& set);
// As ListInstanceIds, with each item's name and recorded dates.
DeviceList<NetworkDevice> ListNamedDevices(DeviceSet& set);
// As ListInstanceIds, with each item's name and driver key.
DeviceList<DeviceDriver> ListDrivers(DeviceSet& set);

}  // namespace tarvex

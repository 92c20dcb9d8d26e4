#include "core/device_set.h"

#include <utility>

namespace tarvex {

namespace {

template <typename Device, typename Make>
DeviceList<Device> ListDevices(DeviceSet& set, Make make) {
    DeviceList<Device> list;
    for (std::uint32_t index = 0;; ++index) {
        const std::uint32_t selected = set.Select(index);
        if (selected == kNoMoreDevices) return list;
        if (selected != 0) return {{}, DeviceQueryError{"SetupDiEnumDeviceInfo", selected, {}}};
        AnsiText id;
        if (const std::uint32_t read = set.InstanceId(id); read != 0) {
            return {{}, DeviceQueryError{"SetupDiGetDeviceInstanceIdW", read, {}}};
        }
        list.devices.push_back(make(std::move(id)));
    }
}

}  // namespace

DeviceList<AnsiText> ListInstanceIds(DeviceSet& set) {
    return ListDevices<AnsiText>(set, [](AnsiText id) { return id; });
}

DeviceList<NetworkDevice> ListNamedDevices(DeviceSet& set) {
    return ListDevices<NetworkDevice>(set, [&](AnsiText id) {
        return NetworkDevice{std::move(id), set.Name(), set.LastArrival(), set.LastRemoval()};
    });
}

DeviceList<DeviceDriver> ListDrivers(DeviceSet& set) {
    return ListDevices<DeviceDriver>(set, [&](AnsiText id) { return DeviceDriver{std::move(id), set.Name(), set.Driver()}; });
}

}  // namespace tarvex

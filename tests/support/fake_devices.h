#pragma once

#include "core/device_query.h"
#include "support/network_devices.h"

#include <map>
#include <optional>
#include <vector>

namespace tarvex {

// Devices as SetupAPI would list them; either query may fail.
class FakeDevices final : public DeviceQuery {
public:
    DeviceList<AnsiText> PresentDevices() override {
        ++queries;
        if (failing || presentFails) return {{}, kFailure};
        DeviceList<AnsiText> list;
        for (const NetworkDevice& device : present) list.devices.push_back(device.instanceId);
        return list;
    }
    DeviceList<NetworkDevice> KnownDevices() override {
        ++queries;
        if (failing || knownFails) return {{}, kFailure};
        DeviceList<NetworkDevice> list{present};
        list.devices.insert(list.devices.end(), phantoms.begin(), phantoms.end());
        return list;
    }

    DeviceList<DeviceDriver> PresentDrivers() override {
        ++queries;
        if (failing || presentFails) return {{}, kFailure};
        DeviceList<DeviceDriver> list;
        for (const NetworkDevice& device : present) {
            auto driver = drivers.find(device.instanceId);
            list.devices.push_back({device.instanceId, device.name, driver == drivers.end() ? "" : driver->second});
        }
        return list;
    }

    // ERROR_INVALID_DATA, as a set that breaks off partway gives it.
    inline static const DeviceQueryError kFailure{"SetupDiEnumDeviceInfo", 13, "The data is invalid."};

    std::vector<NetworkDevice> present = {{kWanMiniportId, kWanMiniportName}};
    std::vector<NetworkDevice> phantoms;  // known to Windows, not connected
    std::map<AnsiText, AnsiText> drivers;  // a present device's driver key, by instance ID
    bool failing = false;                 // both queries
    bool presentFails = false;
    bool knownFails = false;
    int queries = 0;
};

}  // namespace tarvex

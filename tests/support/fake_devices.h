#pragma once

#include "core/device_query.h"

#include <optional>
#include <vector>

namespace tarvex {

// Devices as SetupAPI would list them; either set may fail.
class FakeDevices final : public DeviceQuery {
public:
    std::optional<std::vector<AnsiText>> PresentDevices() override {
        ++queries;
        if (failing) return std::nullopt;
        std::vector<AnsiText> ids;
        for (const NetworkDevice& device : present) ids.push_back(device.instanceId);
        return ids;
    }
    std::optional<std::vector<NetworkDevice>> KnownDevices() override {
        ++queries;
        if (failing) return std::nullopt;
        std::vector<NetworkDevice> devices = present;
        devices.insert(devices.end(), phantoms.begin(), phantoms.end());
        return devices;
    }

    std::vector<NetworkDevice> present;
    std::vector<NetworkDevice> phantoms;  // known to Windows, not connected
    bool failing = false;
    int queries = 0;
};

}  // namespace tarvex

#pragma once

#include "core/device_query.h"

#include <optional>
#include <vector>

namespace tarvex {

// Devices as SetupAPI would list them; either set may fail.
class FakeDevices final : public DeviceQuery {
public:
    std::optional<std::vector<NetworkDevice>> NetworkDevices(bool presentOnly) override {
        ++queries;
        if (failing) return std::nullopt;
        std::vector<NetworkDevice> devices = present;
        if (!presentOnly) devices.insert(devices.end(), phantoms.begin(), phantoms.end());
        return devices;
    }

    std::vector<NetworkDevice> present;
    std::vector<NetworkDevice> phantoms;  // known to Windows, not connected
    bool failing = false;
    int queries = 0;
};

}  // namespace tarvex

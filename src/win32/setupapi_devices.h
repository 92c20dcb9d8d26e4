#pragma once

#include "core/device_query.h"

namespace tarvex {

// The network-class devices through SetupAPI: DIGCF_PRESENT for those present
// now, no flags for every device Windows knows.
class SetupApiDevices final : public DeviceQuery {
public:
    DeviceList<AnsiText> PresentDevices() override;
    DeviceList<NetworkDevice> KnownDevices() override;
    DeviceList<DeviceDriver> PresentDrivers() override;
};

}  // namespace tarvex

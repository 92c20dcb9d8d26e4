#pragma once

#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

struct NetworkDevice {
    AnsiText instanceId;  // as a connection's PnpInstanceID names it
    Utf8Text name;        // friendly name, else description; may be empty
};

// The network-class devices Windows knows: those present now, or all of them,
// connected or not. Nothing when the system cannot give the set.
class DeviceQuery {
public:
    virtual ~DeviceQuery() = default;
    virtual std::optional<std::vector<NetworkDevice>> NetworkDevices(bool presentOnly) = 0;
};

}  // namespace tarvex

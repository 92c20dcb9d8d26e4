#pragma once

#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

struct NetworkDevice {
    AnsiText instanceId;  // as a connection's PnpInstanceID names it
    Utf8Text name;        // friendly name, else description; may be empty
};

// The network-class devices Windows knows. Each query gives nothing when
// the system cannot give the set.
class DeviceQuery {
public:
    virtual ~DeviceQuery() = default;
    // The instance IDs of the devices present now.
    virtual std::optional<std::vector<AnsiText>> PresentDevices() = 0;
    // Every device Windows knows, connected or not, with its name.
    virtual std::optional<std::vector<NetworkDevice>> KnownDevices() = 0;
};

}  // namespace tarvex

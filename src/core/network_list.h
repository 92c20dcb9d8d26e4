#pragma once

#include "core/device_query.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// The networks the network list service counts as connected now, each by
// its ID as "{GUID}"; or the call that failed.
struct ConnectedNetworks {
    std::vector<AnsiText> ids;
    std::optional<DeviceQueryError> error;
};

class NetworkList {
public:
    virtual ~NetworkList() = default;
    virtual ConnectedNetworks Connected() = 0;
};

}  // namespace tarvex

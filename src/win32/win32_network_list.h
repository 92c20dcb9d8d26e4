#pragma once

#include "core/network_list.h"

namespace tarvex {

// The network list service (INetworkListManager), asked in an apartment of
// the call's own: the networks it enumerates as connected, each asked again
// (an enumerator does not refresh, and a service may ignore the flag).
class Win32NetworkList final : public NetworkList {
public:
    ConnectedNetworks Connected() override;
};

}  // namespace tarvex

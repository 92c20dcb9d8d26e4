#pragma once

#include "core/network_list.h"

#include <functional>
#include <vector>

namespace tarvex {

// The networks the service would count connected; or its failure.
class FakeNetworkList final : public NetworkList {
public:
    ConnectedNetworks Connected() override {
        ConnectedNetworks answer = failing ? ConnectedNetworks{{}, kFailure} : ConnectedNetworks{connected};
        if (afterCall) afterCall(*this);
        return answer;
    }

    // RPC_E_DISCONNECTED, as a service that went away gives it.
    inline static const DeviceQueryError kFailure{"INetworkListManager::GetNetworks", 0x80010108,
                                                  "The object invoked has disconnected from its clients."};

    std::vector<AnsiText> connected;
    bool failing = false;
    std::function<void(FakeNetworkList&)> afterCall;  // how the networks change once asked
};

}  // namespace tarvex

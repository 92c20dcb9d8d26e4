#include "win32/win32_network_list.h"

#include "util/unique_handle.h"
#include "win32/platform_error.h"

#include <windows.h>
#include <initguid.h>
#include <netlistmgr.h>

#include <cstdio>

namespace tarvex {

namespace {

template <typename Interface>
struct ComReleaser {
    using Handle = Interface*;
    static Handle None() { return nullptr; }
    static constexpr ULONG kNothingHeld = 0;
    ULONG operator()(Handle object) const { return object->Release(); }
};

template <typename Interface>
using UniqueCom = UniqueHandle<ComReleaser<Interface>>;

// COM for the length of one question; a thread that has it already keeps it.
class ComApartment {
public:
    ComApartment() : status_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(status_)) CoUninitialize();
    }
    // Another apartment's kind on this thread serves as well.
    bool Usable() const { return SUCCEEDED(status_) || status_ == RPC_E_CHANGED_MODE; }
    HRESULT status() const { return status_; }

private:
    HRESULT status_;
};

ConnectedNetworks Failure(const char* call, HRESULT status) {
    return {{}, DeviceQueryError{call, static_cast<std::uint32_t>(status), SystemErrorText(static_cast<unsigned long>(status))}};
}

AnsiText GuidText(const GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

}  // namespace

ConnectedNetworks Win32NetworkList::Connected() {
    const ComApartment apartment;
    if (!apartment.Usable()) return Failure("CoInitializeEx", apartment.status());
    UniqueCom<INetworkListManager> manager;
    HRESULT status = CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL, IID_INetworkListManager,
                                      reinterpret_cast<void**>(manager.put()));
    if (FAILED(status)) return Failure("CoCreateInstance(NetworkListManager)", status);
    UniqueCom<IEnumNetworks> networks;
    status = manager.get()->GetNetworks(NLM_ENUM_NETWORK_CONNECTED, networks.put());
    if (FAILED(status)) return Failure("INetworkListManager::GetNetworks", status);
    ConnectedNetworks connected;
    for (;;) {
        UniqueCom<INetwork> network;
        ULONG fetched = 0;
        status = networks.get()->Next(1, network.put(), &fetched);
        if (FAILED(status)) return Failure("IEnumNetworks::Next", status);
        if (status == S_FALSE || fetched == 0) return connected;
        VARIANT_BOOL isConnected = VARIANT_FALSE;
        status = network.get()->get_IsConnected(&isConnected);
        if (FAILED(status)) return Failure("INetwork::get_IsConnected", status);
        if (isConnected != VARIANT_TRUE) continue;
        GUID id{};
        status = network.get()->GetNetworkId(&id);
        if (FAILED(status)) return Failure("INetwork::GetNetworkId", status);
        connected.ids.push_back(GuidText(id));
    }
}

}  // namespace tarvex

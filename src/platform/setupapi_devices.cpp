#include "platform/setupapi_devices.h"

#include "platform/wide_text.h"
#include "util/unique_handle.h"

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <string>

namespace tarvex {

namespace {

// GUID_DEVCLASS_NET, spelled out so no header has to define it.
constexpr GUID kNetworkClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

struct DeviceSetCloser {
    using Handle = HDEVINFO;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle set) const { return SetupDiDestroyDeviceInfoList(set) != FALSE; }
};

// Device instance IDs are at most 200 characters (MAX_DEVICE_ID_LEN).
constexpr DWORD kLongestInstanceId = 200;

std::wstring InstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
    std::wstring id(kLongestInstanceId + 1, L'\0');
    DWORD needed = 0;
    if (!SetupDiGetDeviceInstanceIdW(set, &device, id.data(), static_cast<DWORD>(id.size()), &needed)) return {};
    id.resize(id.find(L'\0'));
    return id;
}

// Most names fit the first buffer, so one call reads them.
std::wstring TextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    std::wstring text(256, L'\0');
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<BYTE*>(text.data()),
                                              bytes, &size)) {
            if (type != REG_SZ) return {};
            text.resize(std::min<std::size_t>(text.find(L'\0'), size / sizeof(wchar_t)));
            return text;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= bytes) return {};
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
    }
}

// Calls visit for each device of the network class that the flags select.
template <typename Visit>
bool ForEachNetworkDevice(DWORD flags, Visit visit) {
    UniqueHandle<DeviceSetCloser> set(SetupDiGetClassDevsW(&kNetworkClass, nullptr, nullptr, flags));
    if (!set.isOpen()) return false;
    SP_DEVINFO_DATA device{sizeof(device)};
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.get(), index, &device); ++index) {
        std::wstring id = InstanceId(set.get(), device);
        if (!id.empty()) visit(set.get(), device, id);
    }
    return true;
}

}  // namespace

std::optional<std::vector<AnsiText>> SetupApiDevices::PresentDevices() {
    std::vector<AnsiText> ids;
    if (!ForEachNetworkDevice(DIGCF_PRESENT, [&](HDEVINFO, SP_DEVINFO_DATA&, const std::wstring& id) {
            ids.push_back(WideToAnsi(id));
        })) {
        return std::nullopt;
    }
    return ids;
}

std::optional<std::vector<NetworkDevice>> SetupApiDevices::KnownDevices() {
    std::vector<NetworkDevice> devices;
    if (!ForEachNetworkDevice(0, [&](HDEVINFO set, SP_DEVINFO_DATA& device, const std::wstring& id) {
            std::wstring name = TextProperty(set, device, SPDRP_FRIENDLYNAME);
            if (name.empty()) name = TextProperty(set, device, SPDRP_DEVICEDESC);
            devices.push_back({WideToAnsi(id), WideToUtf8(name)});
        })) {
        return std::nullopt;
    }
    return devices;
}

}  // namespace tarvex

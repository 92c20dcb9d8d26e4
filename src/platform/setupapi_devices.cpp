#include "platform/setupapi_devices.h"

#include "platform/wide_text.h"
#include "util/unique_handle.h"

#include <windows.h>
#include <setupapi.h>

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

std::wstring TextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD type = 0;
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, nullptr, 0, &size);
    if (size == 0) return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<BYTE*>(text.data()),
                                           size, nullptr) ||
        type != REG_SZ) {
        return {};
    }
    text.resize(text.find(L'\0'));
    return text;
}

}  // namespace

std::optional<std::vector<NetworkDevice>> SetupApiDevices::NetworkDevices(bool presentOnly) {
    UniqueHandle<DeviceSetCloser> set(
        SetupDiGetClassDevsW(&kNetworkClass, nullptr, nullptr, presentOnly ? DIGCF_PRESENT : 0));
    if (!set.isOpen()) return std::nullopt;
    std::vector<NetworkDevice> devices;
    SP_DEVINFO_DATA device{sizeof(device)};
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.get(), index, &device); ++index) {
        std::wstring id = InstanceId(set.get(), device);
        if (id.empty()) continue;
        std::wstring name = TextProperty(set.get(), device, SPDRP_FRIENDLYNAME);
        if (name.empty()) name = TextProperty(set.get(), device, SPDRP_DEVICEDESC);
        devices.push_back({WideToAnsi(id), WideToUtf8(name)});
    }
    return devices;
}

}  // namespace tarvex

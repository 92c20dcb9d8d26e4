#include "win32/setupapi_devices.h"

#include "core/device_set.h"
#include "win32/platform_error.h"
#include "win32/unique_device_info_set.h"
#include "win32/wide_text.h"

#include <windows.h>
#include <devpropdef.h>
#include <setupapi.h>

#include <algorithm>
#include <string>

namespace tarvex {

namespace {

// GUID_DEVCLASS_NET, spelled out so no header has to define it.
constexpr GUID kNetworkClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// DEVPKEY_Device_LastArrivalDate and DEVPKEY_Device_LastRemovalDate.
constexpr GUID kDeviceDates = {0x83da6326, 0x97a6, 0x4088, {0x94, 0x53, 0xa1, 0x92, 0x3f, 0x57, 0x3b, 0x29}};
constexpr DEVPROPKEY kLastArrivalDate = {kDeviceDates, 102};
constexpr DEVPROPKEY kLastRemovalDate = {kDeviceDates, 103};

// Device instance IDs are at most 200 characters (MAX_DEVICE_ID_LEN).
constexpr DWORD kLongestInstanceId = 200;

// SetupAPI reports errors through the thread's last error.
std::uint32_t LastErrorOfFailure() { return LastErrorOr(ERROR_GEN_FAILURE); }

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

class NetworkDeviceSet final : public DeviceSet {
public:
    explicit NetworkDeviceSet(HDEVINFO set) : set_(set) {}

    std::uint32_t Select(std::uint32_t index) override {
        device_ = SP_DEVINFO_DATA{sizeof(device_)};
        return SetupDiEnumDeviceInfo(set_, index, &device_) ? 0 : LastErrorOfFailure();
    }
    std::uint32_t InstanceId(AnsiText& id) override {
        std::wstring wide(kLongestInstanceId + 1, L'\0');
        DWORD needed = 0;
        if (!SetupDiGetDeviceInstanceIdW(set_, &device_, wide.data(), static_cast<DWORD>(wide.size()), &needed)) {
            return LastErrorOfFailure();
        }
        wide.resize(wide.find(L'\0'));
        if (wide.empty()) return ERROR_INVALID_DATA;
        id = WideToAnsi(wide);
        return 0;
    }
    std::optional<FileTime> LastArrival() override { return DateProperty(kLastArrivalDate); }
    std::optional<FileTime> LastRemoval() override { return DateProperty(kLastRemovalDate); }
    AnsiText Driver() override { return WideToAnsi(TextProperty(set_, device_, SPDRP_DRIVER)); }
    Utf8Text Name() override {
        std::wstring name = TextProperty(set_, device_, SPDRP_FRIENDLYNAME);
        if (name.empty()) name = TextProperty(set_, device_, SPDRP_DEVICEDESC);
        return WideToUtf8(name);
    }

private:
    // A date the device never recorded, or one the system keeps none of, is unknown.
    std::optional<FileTime> DateProperty(const DEVPROPKEY& key) {
        DEVPROPTYPE type = 0;
        FILETIME date{};
        if (!SetupDiGetDevicePropertyW(set_, &device_, &key, &type, reinterpret_cast<BYTE*>(&date), sizeof date,
                                       nullptr, 0) ||
            type != DEVPROP_TYPE_FILETIME) {
            return std::nullopt;
        }
        return (FileTime{date.dwHighDateTime} << 32) | date.dwLowDateTime;
    }

    HDEVINFO set_;
    SP_DEVINFO_DATA device_{sizeof(device_)};
};

template <typename Device>
DeviceList<Device> QueryNetworkDevices(DWORD flags, DeviceList<Device> (*list)(DeviceSet&)) {
    UniqueDeviceInfoSet set(SetupDiGetClassDevsW(&kNetworkClass, nullptr, nullptr, flags));
    DeviceList<Device> result;
    if (!set.isOpen()) {
        result.error = DeviceQueryError{"SetupDiGetClassDevsW", LastErrorOfFailure(), {}};
    } else {
        NetworkDeviceSet devices(set.get());
        result = list(devices);
    }
    if (result.error) result.error->text = SystemErrorText(result.error->code);
    return result;
}

}  // namespace

DeviceList<AnsiText> SetupApiDevices::PresentDevices() { return QueryNetworkDevices(DIGCF_PRESENT, &ListInstanceIds); }

DeviceList<NetworkDevice> SetupApiDevices::KnownDevices() { return QueryNetworkDevices(0, &ListNamedDevices); }

DeviceList<DeviceDriver> SetupApiDevices::PresentDrivers() { return QueryNetworkDevices(DIGCF_PRESENT, &ListDrivers); }

}  // namespace tarvex

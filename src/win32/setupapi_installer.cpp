#include "win32/setupapi_installer.h"

#include "win32/platform_error.h"
#include "win32/unique_device_info_set.h"
#include "win32/wide_text.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

namespace tarvex {

namespace {

DeviceQueryError Failure(const char* call) {
    const unsigned long code = LastErrorOr(ERROR_GEN_FAILURE);
    return {call, static_cast<std::uint32_t>(code), SystemErrorText(code)};
}

// One device in a set of its own; a device that is not present opens too.
struct OpenedDevice {
    UniqueDeviceInfoSet set;
    SP_DEVINFO_DATA data{sizeof(SP_DEVINFO_DATA)};
    std::optional<DeviceQueryError> error;
};

OpenedDevice Open(const AnsiText& instanceId) {
    OpenedDevice device;
    *device.set.put() = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (!device.set.isOpen()) {
        device.error = Failure("SetupDiCreateDeviceInfoList");
    } else if (!SetupDiOpenDeviceInfoW(device.set.get(), AnsiToWide(instanceId).c_str(), nullptr, 0, &device.data)) {
        device.error = Failure("SetupDiOpenDeviceInfoW");
    }
    return device;
}

// DI_NEEDREBOOT or DI_NEEDRESTART in the parameters of the device (or, with
// none, of the set); nothing when they cannot be read.
std::optional<bool> NeedsRestart(HDEVINFO set, SP_DEVINFO_DATA* device) {
    SP_DEVINSTALL_PARAMS_W params{sizeof(params)};
    if (!SetupDiGetDeviceInstallParamsW(set, device, &params)) return std::nullopt;
    return (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART)) != 0;
}

}  // namespace

const char* PrepareQuietRemoval(HDEVINFO set, SP_DEVINFO_DATA& device, HWND parent) {
    SP_DEVINSTALL_PARAMS_W params{sizeof(params)};
    if (!SetupDiGetDeviceInstallParamsW(set, &device, &params)) return "SetupDiGetDeviceInstallParamsW";
    params.Flags |= DI_QUIETINSTALL;
    params.hwndParent = parent;
    if (!SetupDiSetDeviceInstallParamsW(set, &device, &params)) return "SetupDiSetDeviceInstallParamsW";
    return nullptr;
}

PresenceCheck SetupApiInstaller::CheckPresence(const AnsiText& instanceId) {
    const OpenedDevice device = Open(instanceId);
    if (device.error) return {Presence::Unknown, device.error};
    // wine's stub answers CR_SUCCESS and leaves these as they were.
    ULONG status = 0;
    ULONG problem = 0;
    const CONFIGRET answer = CM_Get_DevNode_Status(&status, &problem, device.data.DevInst, 0);
    if (answer == CR_SUCCESS) return {Presence::Present};
    if (answer == CR_NO_SUCH_DEVINST) return {Presence::NotPresent};
    return {Presence::Unknown, DeviceQueryError{"CM_Get_DevNode_Status", static_cast<std::uint32_t>(answer), {}}};
}

UninstallResult SetupApiInstaller::Uninstall(const AnsiText& instanceId) {
    OpenedDevice device = Open(instanceId);
    if (device.error) return {false, false, device.error};
    if (const char* failed = PrepareQuietRemoval(device.set.get(), device.data, parent_ ? parent_() : nullptr)) {
        return {false, false, Failure(failed)};
    }
    // With no class install parameters set the removal is global, as Device
    // Manager's; the network class installer removes what belongs to the adapter.
    if (!SetupDiCallClassInstaller(DIF_REMOVE, device.set.get(), &device.data)) {
        return {false, false, Failure("SetupDiCallClassInstaller")};
    }
    // SetupDiRemoveDevice puts the flags on the set; the class installer may
    // put them on the device. Gone with its node, the device has none to ask.
    const std::optional<bool> ofDevice = NeedsRestart(device.set.get(), &device.data);
    const bool deviceGone = !ofDevice && GetLastError() == ERROR_NO_SUCH_DEVINST;
    const std::optional<bool> ofSet = NeedsRestart(device.set.get(), nullptr);
    // Unable to ask either, assume it does.
    if (!ofSet && !ofDevice && !deviceGone) return {true, true};
    return {true, ofDevice.value_or(false) || ofSet.value_or(false)};
}

}  // namespace tarvex

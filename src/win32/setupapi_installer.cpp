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

}  // namespace

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
    // With no class install parameters set the removal is global, as Device
    // Manager's; the network class installer removes what belongs to the adapter.
    if (!SetupDiCallClassInstaller(DIF_REMOVE, device.set.get(), &device.data)) {
        return {false, false, Failure("SetupDiCallClassInstaller")};
    }
    SP_DEVINSTALL_PARAMS_W params{sizeof(params)};
    if (SetupDiGetDeviceInstallParamsW(device.set.get(), &device.data, &params)) {
        return {true, (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART)) != 0};
    }
    // Gone with its node, it needs no restart; unable to ask, assume it does.
    return {true, GetLastError() != ERROR_NO_SUCH_DEVINST};
}

}  // namespace tarvex

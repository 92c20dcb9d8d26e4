#pragma once

#include "core/device_installer.h"

#include <windows.h>
#include <setupapi.h>

#include <functional>

namespace tarvex {

// Sets DI_QUIETINSTALL and the parent window in the device's install
// parameters: unattended, a message from the class installer could wait
// for no one. The call that failed when the parameters could not be read
// or set; nullptr when they were set.
const char* PrepareQuietRemoval(HDEVINFO set, SP_DEVINFO_DATA& device, HWND parent);

// Devices opened by instance ID through SetupAPI, present or not: their
// node's status, and their removal through the class installer (DIF_REMOVE),
// as Device Manager's "Uninstall device" does, without its messages.
class SetupApiInstaller final : public DeviceInstaller {
public:
    // parent gives the window the installer may show anything over; none for the console.
    explicit SetupApiInstaller(std::function<HWND()> parent = {}) : parent_(std::move(parent)) {}

    PresenceCheck CheckPresence(const AnsiText& instanceId) override;
    UninstallResult Uninstall(const AnsiText& instanceId) override;

private:
    std::function<HWND()> parent_;
};

}  // namespace tarvex

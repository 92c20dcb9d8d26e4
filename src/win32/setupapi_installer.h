#pragma once

#include "core/device_installer.h"

namespace tarvex {

// Devices opened by instance ID through SetupAPI, present or not: their
// node's status, and their removal through the class installer (DIF_REMOVE),
// as Device Manager's "Uninstall device" does.
class SetupApiInstaller final : public DeviceInstaller {
public:
    PresenceCheck CheckPresence(const AnsiText& instanceId) override;
    UninstallResult Uninstall(const AnsiText& instanceId) override;
};

}  // namespace tarvex

#pragma once

#include "core/device_query.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// Whether a device is connected now, as asked just before it is uninstalled.
enum class Presence { Present, NotPresent, Unknown };

struct PresenceCheck {
    Presence presence = Presence::Unknown;
    std::optional<DeviceQueryError> error;  // why it is unknown
};

struct UninstallResult {
    bool uninstalled = false;
    bool restartNeeded = false;           // Windows asks for one to finish the removal
    std::optional<DeviceQueryError> error;  // the call that failed
};

// Uninstalling a device as Device Manager does, through the device installer.
class DeviceInstaller {
public:
    virtual ~DeviceInstaller() = default;
    virtual PresenceCheck CheckPresence(const AnsiText& instanceId) = 0;
    // Removes the device and what its class installer removes with it. No
    // backup brings it back: connected again, it is installed anew.
    virtual UninstallResult Uninstall(const AnsiText& instanceId) = 0;
};

}  // namespace tarvex

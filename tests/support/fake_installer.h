#pragma once

#include "core/device_installer.h"

#include <functional>
#include <set>
#include <vector>

namespace tarvex {

// Devices as the device installer would meet them: each is not present and
// uninstalls, unless the test says otherwise.
class FakeInstaller final : public DeviceInstaller {
public:
    PresenceCheck CheckPresence(const AnsiText& instanceId) override {
        checked.push_back(instanceId);
        if (uncheckable.count(instanceId)) return {Presence::Unknown, kCheckFailure};
        if (pluggedIn.count(instanceId)) return {Presence::Present};
        return {Presence::NotPresent};
    }
    UninstallResult Uninstall(const AnsiText& instanceId) override {
        uninstalled.push_back(instanceId);
        if (failing.count(instanceId)) return {false, false, kUninstallFailure};
        if (whileUninstalling) whileUninstalling();
        return {true, needsRestart.count(instanceId) > 0};
    }

    // CR_FAILURE, which the presence check cannot tell from either answer.
    inline static const DeviceQueryError kCheckFailure{"CM_Get_DevNode_Status", 0x13, ""};
    // ERROR_ACCESS_DENIED, as a user without the right to remove devices meets it.
    inline static const DeviceQueryError kUninstallFailure{"SetupDiCallClassInstaller", 5, "Access is denied."};

    std::set<AnsiText> pluggedIn;     // present again when checked
    std::set<AnsiText> uncheckable;
    std::set<AnsiText> failing;
    std::set<AnsiText> needsRestart;
    std::function<void()> whileUninstalling;  // what the class installer removes with a device
    std::vector<AnsiText> checked;
    std::vector<AnsiText> uninstalled;
};

}  // namespace tarvex

#include "support/network_devices.h"

namespace tarvex {

Status SeedNetworkDevice(RegistryWriter& writer, const std::string& instanceId, const std::string& deviceDesc,
                         const std::string& friendlyName) {
    const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + instanceId;
    Status status = writer.SetValue(kLocalMachine, key, "ClassGUID", kRegSz,
                                    std::string("{4d36e972-e325-11ce-bfc1-08002be10318}") + '\0');
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, key, "DeviceDesc", kRegSz, deviceDesc + '\0');
    if (status == kSuccess && !friendlyName.empty()) {
        status = writer.SetValue(kLocalMachine, key, "FriendlyName", kRegSz, friendlyName + '\0');
    }
    return status;
}

}  // namespace tarvex

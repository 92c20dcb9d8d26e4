#include "support/network_devices.h"

#include <cstdio>

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

Status SeedWanMiniport(RegistryWriter& writer) {
    return SeedNetworkDevice(writer, kWanMiniportId, kWanMiniportName, "");
}

Status SeedDeviceDate(RegistryWriter& writer, const std::string& instanceId, unsigned propertyId,
                      std::uint64_t fileTime) {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", propertyId);
    std::string bytes;
    for (int shift = 0; shift < 64; shift += 8) bytes += static_cast<char>((fileTime >> shift) & 0xFF);
    return writer.SetValue(kLocalMachine,
                           "SYSTEM\\CurrentControlSet\\Enum\\" + instanceId +
                               "\\Properties\\{83da6326-97a6-4088-9453-a1923f573b29}\\" + id,
                           "", 0xffff0010, bytes);
}

}  // namespace tarvex

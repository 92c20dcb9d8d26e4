#pragma once

#include "support/registry_writer.h"

#include <cctype>
#include <cstdint>
#include <string>

namespace tarvex {

// Where the network class keeps its adapters' entries, and its driver keys.
inline const std::string kNetworkClass = "\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
inline const std::string kAdapterEntries = "SYSTEM\\CurrentControlSet" + kNetworkClass;
inline constexpr char kNetClassDrivers[] = "{4d36e972-e325-11ce-bfc1-08002be10318}\\";

// A present adapter as Windows records it in a control set (the current one
// where it is a key of its own, as in wine; its target where it is a link): its
// driver key (NetCfgInstanceId, Characteristics), its connection entry
// "name" naming instanceId, and IPv4 settings on DHCP with no lease; the
// interface key is named by the GUID in lower case, as Tcpip writes it.
// driver is the key below Control\Class the device's Driver property names.
inline Status SeedPresentAdapter(RegistryWriter& writer, const std::string& guid, const std::string& instanceId,
                                 const std::string& driver, std::uint32_t characteristics, const std::string& name,
                                 const std::string& controlSet = "CurrentControlSet") {
    using namespace std::string_literals;
    std::string lower = guid;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string set = "SYSTEM\\" + controlSet;
    const std::string entry = set + kNetworkClass + guid + "\\Connection";
    const std::string driverKey = set + "\\Control\\Class\\" + driver;
    const std::string interfaces = set + "\\Services\\Tcpip\\Parameters\\Interfaces\\" + lower;
    std::string flags(4, '\0');
    for (int i = 0; i < 4; ++i) flags[i] = static_cast<char>(characteristics >> (8 * i) & 0xFF);
    Status status = writer.SetValue(kLocalMachine, driverKey, "NetCfgInstanceId", kRegSz, guid + '\0');
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, driverKey, "Characteristics", kRegDword, flags);
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, entry, "Name", kRegSz, name + '\0');
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, entry, "PnpInstanceID", kRegSz, instanceId + '\0');
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, interfaces, "EnableDHCP", kRegDword, "\x01\0\0\0"s);
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, interfaces, "IPAddress", kRegMultiSz, "0.0.0.0\0\0"s);
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, interfaces, "DhcpIPAddress", kRegSz, "0.0.0.0\0"s);
    return status;
}

}  // namespace tarvex

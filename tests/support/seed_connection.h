#pragma once

#include "support/registry_writer.h"

#include <iterator>
#include <string>
#include <utility>

namespace tarvex {

// One connection entry below HKLM: key's Connection subkey with its Name and,
// when one is given, its PnpInstanceID, both REG_SZ. The first failing status, or kSuccess.
inline Status SeedConnection(RegistryWriter& writer, const std::string& key, const std::string& name,
                             const std::string& pnpInstanceId = "") {
    const std::string connection = key + "\\Connection";
    Status status = writer.SetValue(kLocalMachine, connection, "Name", kRegSz, name + '\0');
    if (status == kSuccess && !pnpInstanceId.empty()) {
        status = writer.SetValue(kLocalMachine, connection, "PnpInstanceID", kRegSz, pnpInstanceId + '\0');
    }
    return status;
}

// The four IP-settings keys Windows keeps for a connection in one control
// set, under its GUID as Tcpip writes it (in lower case): a static IPv4
// configuration and a value in each of the other three. The first failing
// status, or kSuccess.
inline Status SeedIpSettings(RegistryWriter& writer, const std::string& controlSet, const std::string& guid,
                             const std::string& address) {
    using namespace std::string_literals;
    const std::string services = "SYSTEM\\" + controlSet + "\\Services\\";
    const std::string ipv4 = services + "Tcpip\\Parameters\\Interfaces\\" + guid;
    const std::pair<std::string, std::pair<std::string, std::string>> values[] = {
        {ipv4, {"EnableDHCP", "\0\0\0\0"s}},
        {ipv4, {"IPAddress", address + "\0\0"s}},
        {ipv4, {"SubnetMask", "255.255.255.0\0\0"s}},
        {ipv4, {"DefaultGateway", "10.0.0.1\0\0"s}},
        {ipv4, {"NameServer", "10.0.0.2,10.0.0.3\0"s}},
        {services + "Tcpip\\Parameters\\Adapters\\" + guid, {"IpConfig", "Tcpip\\Parameters\\Interfaces\\" + guid + "\0\0"s}},
        {services + "Tcpip6\\Parameters\\Interfaces\\" + guid, {"Dhcpv6Iaid", "\x01\0\0\0"s}},
        {services + "NetBT\\Parameters\\Interfaces\\Tcpip_" + guid, {"NameServerList", "10.0.0.4\0\0"s}},
    };
    const std::uint32_t types[] = {kRegDword, kRegMultiSz, kRegMultiSz, kRegMultiSz, kRegSz, kRegMultiSz, kRegDword,
                                   kRegMultiSz};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const auto& [key, value] = values[i];
        const Status status = writer.SetValue(kLocalMachine, key, value.first, types[i], value.second);
        if (status != kSuccess) return status;
    }
    return kSuccess;
}

}  // namespace tarvex

#pragma once

#include "core/clock.h"
#include "core/network_profiles.h"
#include "support/registry_writer.h"

#include <cstdint>
#include <string>

namespace tarvex {

inline const std::string kProfiles = std::string(kNetworkListKey) + "\\Profiles\\";

// A SYSTEMTIME's sixteen bytes: year, month, day of week, day, hour, minute, second, milliseconds.
inline std::string SystemTimeBytes(const LocalTime& time, int dayOfWeek = 0) {
    const int words[8] = {time.year, time.month, dayOfWeek, time.day, time.hour, time.minute, time.second, 0};
    std::string bytes;
    for (int word : words) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8 & 0xFF);
    }
    return bytes;
}

inline std::string DwordBytes(std::uint32_t number) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(number >> shift & 0xFF);
    return bytes;
}

// A profile as Windows writes one: its name, a Public wired network not
// managed, created and last connected at the times given. The first
// failing status, or kSuccess.
inline Status SeedProfile(RegistryWriter& writer, const std::string& guid, const std::string& name,
                          const LocalTime& lastConnected, const LocalTime& created = {2025, 3, 1, 9, 0, 0}) {
    const std::string key = kProfiles + guid;
    const std::pair<const char*, std::pair<std::uint32_t, std::string>> values[] = {
        {"ProfileName", {kRegSz, name + '\0'}},
        {"Description", {kRegSz, name + '\0'}},
        {"Category", {kRegDword, DwordBytes(0)}},
        {"Managed", {kRegDword, DwordBytes(0)}},
        {"NameType", {kRegDword, DwordBytes(6)}},
        {"DateCreated", {kRegBinary, SystemTimeBytes(created)}},
        {"DateLastConnected", {kRegBinary, SystemTimeBytes(lastConnected)}},
    };
    for (const auto& [value, data] : values) {
        const Status status = writer.SetValue(kLocalMachine, key, value, data.first, data.second);
        if (status != kSuccess) return status;
    }
    return kSuccess;
}

// A signature under Signatures\kind\hex naming profileGuid, with its
// gateway's six MAC bytes and a DNS suffix (Windows writes a few more).
inline Status SeedSignature(RegistryWriter& writer, const std::string& kind, const std::string& hex,
                            const std::string& profileGuid, const std::string& mac, const std::string& dnsSuffix) {
    const std::string key = std::string(kNetworkListKey) + "\\Signatures\\" + kind + "\\" + hex;
    Status status = writer.SetValue(kLocalMachine, key, "ProfileGuid", kRegSz, profileGuid + '\0');
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, key, "DefaultGatewayMac", kRegBinary, mac);
    if (status == kSuccess) status = writer.SetValue(kLocalMachine, key, "DnsSuffix", kRegSz, dnsSuffix + '\0');
    return status;
}

}  // namespace tarvex

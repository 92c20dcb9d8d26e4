#pragma once

#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

class KeyValues;

// A connection's IPv4 settings, as Tcpip keeps them under its GUID. Texts
// are as stored: Windows writes them in ASCII.
struct Ipv4Settings {
    bool dhcp = false;
    std::vector<AnsiText> addresses;
    std::vector<AnsiText> subnetMasks;
    std::vector<AnsiText> gateways;
    std::vector<AnsiText> dnsServers;
};

// How much a scan reads: what the IPv4 column shows (DHCP, else the
// addresses), or every value, for a fleet's record of the old configuration.
enum class Ipv4Reads { Shown, Whole };

// The keys a connection's IP settings live in, for the row whose key is
// SYSTEM\CS\Control\Network\{class}\G: the IPv4 interface first, then the
// Tcpip adapter, the IPv6 interface and NetBT's interface.
std::array<AnsiText, 4> IpSettingsKeys(const AnsiText& rowKey);

// The last piece of a row's key: its connection's GUID.
AnsiText ConnectionGuid(const AnsiText& rowKey);

// Where a control set keeps its IPv4 interface keys, each named by a GUID.
AnsiText Ipv4InterfacesKey(const AnsiText& controlSet);

// The settings under the key path below parent (an open Interfaces key, or
// a root and the whole path); nothing when the key is missing. A value of
// an unexpected type counts as absent.
std::optional<Ipv4Settings> ReadIpv4Settings(RegistryApi& registry, KeyHandle parent, const AnsiText& path,
                                            Ipv4Reads reads);

// The whole settings in an interface key's values as they were read.
Ipv4Settings Ipv4SettingsOf(const KeyValues& values);

// The texts of a list stored as REG_MULTI_SZ, or as one REG_SZ as older
// systems write it; empty ones dropped. Any other type holds none.
std::vector<AnsiText> AddressList(std::uint32_t type, const std::string& data);

// 0.0.0.0 stands for no address.
inline bool IsAnAddress(const AnsiText& address) { return address != "0.0.0.0"; }

// The first that is an address; empty when none is.
AnsiText FirstAddress(const std::vector<AnsiText>& addresses);

// The texts with separator between them.
Utf8Text JoinTexts(const std::vector<AnsiText>& texts, const char* separator);

// What the IPv4 column shows: "DHCP", else the static addresses joined by
// ", "; empty without settings.
Utf8Text Ipv4Text(const std::optional<Ipv4Settings>& settings);

}  // namespace tarvex

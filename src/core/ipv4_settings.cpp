#include "core/ipv4_settings.h"

#include "core/connection_row.h"
#include "core/key_values.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <algorithm>

namespace tarvex {

namespace {

// One REG_SZ of addresses that commas or spaces separate.
std::vector<AnsiText> ServerList(std::uint32_t type, const std::string& data) {
    std::vector<AnsiText> servers;
    if (type != kRegSz) return servers;
    const AnsiText text = data.substr(0, data.find('\0'));
    std::size_t start = 0;
    while ((start = text.find_first_not_of(", ", start)) != AnsiText::npos) {
        const std::size_t end = text.find_first_of(", ", start);
        servers.push_back(text.substr(start, end - start));
        start = end;
    }
    return servers;
}

// The settings from the values that lookup(name, type, data) finds; the
// column needs only whether DHCP is on, else the addresses.
template <typename Lookup>
Ipv4Settings DecodeSettings(Lookup lookup, Ipv4Reads reads) {
    Ipv4Settings settings;
    std::uint32_t type = kRegNone;
    std::string data;
    // Any 32-bit number but 0.
    settings.dhcp = lookup("EnableDHCP", type, data) && DwordFromData(type, data).value_or(0) != 0;
    if (reads == Ipv4Reads::Shown && settings.dhcp) return settings;
    const auto list = [&](const char* name) {
        return lookup(name, type, data) ? AddressList(type, data) : std::vector<AnsiText>{};
    };
    settings.addresses = list("IPAddress");
    if (reads == Ipv4Reads::Shown) return settings;
    settings.subnetMasks = list("SubnetMask");
    settings.gateways = list("DefaultGateway");
    if (lookup("NameServer", type, data)) settings.dnsServers = ServerList(type, data);
    return settings;
}

}  // namespace

std::vector<AnsiText> AddressList(std::uint32_t type, const std::string& data) {
    std::vector<AnsiText> texts;
    if (type != kRegMultiSz && type != kRegSz) return texts;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t end = std::min(data.find('\0', start), data.size());
        if (end > start) texts.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

AnsiText FirstAddress(const std::vector<AnsiText>& addresses) {
    for (const AnsiText& address : addresses) {
        if (IsAnAddress(address)) return address;
    }
    return {};
}

Utf8Text JoinTexts(const std::vector<AnsiText>& texts, const char* separator) {
    Utf8Text joined;
    for (const AnsiText& text : texts) joined += (joined.empty() ? "" : separator) + text;
    return joined;
}

AnsiText ConnectionGuid(const AnsiText& rowKey) { return rowKey.substr(rowKey.rfind('\\') + 1); }

AnsiText Ipv4InterfacesKey(const AnsiText& controlSet) {
    return "SYSTEM\\" + controlSet + "\\Services\\Tcpip\\Parameters\\Interfaces";
}

std::array<AnsiText, 4> IpSettingsKeys(const AnsiText& rowKey) {
    const AnsiText controlSet = ControlSetName(rowKey);
    const AnsiText services = "SYSTEM\\" + controlSet + "\\Services\\";
    const AnsiText guid = ConnectionGuid(rowKey);
    return {Ipv4InterfacesKey(controlSet) + "\\" + guid, services + "Tcpip\\Parameters\\Adapters\\" + guid,
            services + "Tcpip6\\Parameters\\Interfaces\\" + guid,
            services + "NetBT\\Parameters\\Interfaces\\Tcpip_" + guid};
}

std::optional<Ipv4Settings> ReadIpv4Settings(RegistryApi& registry, KeyHandle parent, const AnsiText& path,
                                            Ipv4Reads reads) {
    UniqueKey key(registry);
    if (key.Open(parent, path, kKeyRead) != kSuccess) return std::nullopt;
    return DecodeSettings(
        [&](const char* name, std::uint32_t& type, std::string& data) {
            return ReadValueData(registry, key.get(), name, type, data);
        },
        reads);
}

Ipv4Settings Ipv4SettingsOf(const KeyValues& values) {
    return DecodeSettings(
        [&](const char* name, std::uint32_t& type, std::string& data) {
            const StoredValue* value = values.Get(name);
            if (value == nullptr) return false;
            type = value->type;
            data = value->bytes;
            return true;
        },
        Ipv4Reads::Whole);
}

Utf8Text Ipv4Text(const std::optional<Ipv4Settings>& settings) {
    if (!settings) return {};
    if (settings->dhcp) return "DHCP";
    Utf8Text text;
    for (const AnsiText& address : settings->addresses) {
        if (!IsAnAddress(address)) continue;
        if (!text.empty()) text += ", ";
        text += address;
    }
    return text;
}

}  // namespace tarvex

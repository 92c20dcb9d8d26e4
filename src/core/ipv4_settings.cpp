#include "core/ipv4_settings.h"

#include "core/connection_row.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <algorithm>

namespace tarvex {

namespace {

// REG_MULTI_SZ, or a REG_SZ that older systems write: one entry per text.
std::vector<AnsiText> ReadList(RegistryApi& registry, KeyHandle key, const AnsiText& name) {
    AnsiText text;
    std::uint32_t type = kRegNone;
    std::vector<AnsiText> list;
    if (!ReadOpenKeyValue(registry, key, name, text, type) || (type != kRegMultiSz && type != kRegSz)) return list;
    return SplitTexts(text);
}

// One REG_SZ of addresses that commas or spaces separate.
std::vector<AnsiText> ReadServers(RegistryApi& registry, KeyHandle key, const AnsiText& name) {
    AnsiText text;
    std::uint32_t type = kRegNone;
    std::vector<AnsiText> servers;
    if (!ReadOpenKeyValue(registry, key, name, text, type) || type != kRegSz) return servers;
    std::size_t start = 0;
    while ((start = text.find_first_not_of(", ", start)) != AnsiText::npos) {
        const std::size_t end = text.find_first_of(", ", start);
        servers.push_back(text.substr(start, end - start));
        start = end;
    }
    return servers;
}

bool ReadDhcp(RegistryApi& registry, KeyHandle key) {
    AnsiText text;
    std::uint32_t type = kRegNone;
    // Any 32-bit number but 0; a DWORD of other length holds none ("&h...", or empty).
    return ReadOpenKeyValue(registry, key, "EnableDHCP", text, type) && type == kRegDword && !text.empty() &&
           text != "0" && text[0] != '&';
}

}  // namespace

std::vector<AnsiText> SplitTexts(const std::string& data) {
    std::vector<AnsiText> texts;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t end = std::min(data.find('\0', start), data.size());
        if (end > start) texts.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return texts;
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
    Ipv4Settings settings;
    settings.dhcp = ReadDhcp(registry, key.get());
    // The column shows "DHCP" alone; only a whole record needs the rest then.
    if (reads == Ipv4Reads::Shown && settings.dhcp) return settings;
    settings.addresses = ReadList(registry, key.get(), "IPAddress");
    if (reads == Ipv4Reads::Shown) return settings;
    settings.subnetMasks = ReadList(registry, key.get(), "SubnetMask");
    settings.gateways = ReadList(registry, key.get(), "DefaultGateway");
    settings.dnsServers = ReadServers(registry, key.get(), "NameServer");
    return settings;
}

Utf8Text Ipv4Text(const std::optional<Ipv4Settings>& settings) {
    if (!settings) return {};
    if (settings->dhcp) return "DHCP";
    Utf8Text text;
    for (const AnsiText& address : settings->addresses) {
        if (address == "0.0.0.0") continue;
        if (!text.empty()) text += ", ";
        text += address;
    }
    return text;
}

}  // namespace tarvex

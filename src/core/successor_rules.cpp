#include "core/successor_rules.h"

#include "registry/mod_reg.h"

#include <cstdio>

namespace tarvex {

namespace {

constexpr std::uint32_t kNcfVirtual = 0x1;
constexpr std::uint32_t kNcfPhysical = 0x4;
// Azure's DHCP service: a guest's address there must be the one Azure assigns.
constexpr char kAzureDhcp[] = "168.63.129.16";

AnsiText FirstText(const StoredValue* value) {
    const std::vector<AnsiText> texts = value ? AddressList(value->type, value->bytes) : std::vector<AnsiText>{};
    return texts.empty() ? AnsiText() : texts[0];
}

std::optional<std::uint32_t> DwordOf(const StoredValue* value) {
    return value ? DwordFromData(value->type, value->bytes) : std::nullopt;
}

std::optional<std::uint32_t> ParseAddress(const AnsiText& text) {
    unsigned parts[4];
    char end = 0;
    if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end) != 4) {
        return std::nullopt;
    }
    std::uint32_t address = 0;
    for (unsigned part : parts) {
        if (part > 255) return std::nullopt;
        address = address << 8 | part;
    }
    return address;
}

// "from 192.168.1.1", or nothing where no server is recorded.
Utf8Text FromServer(const KeyValues& values) {
    const AnsiText server = FirstText(values.Get("DhcpServer"));
    return server.empty() ? Utf8Text() : " from " + server;
}

}  // namespace

std::vector<AnsiText> StaticAddresses(const KeyValues& values) {
    const StoredValue* value = values.Get("IPAddress");
    std::vector<AnsiText> addresses;
    if (value == nullptr) return addresses;
    for (AnsiText& address : AddressList(value->type, value->bytes)) {
        if (IsAnAddress(address)) addresses.push_back(std::move(address));
    }
    return addresses;
}

AnsiText WorkingLease(const KeyValues& values) {
    const AnsiText lease = FirstText(values.Get("DhcpIPAddress"));
    const std::optional<std::uint32_t> leased = ParseAddress(lease);
    return leased && *leased != 0 ? lease : AnsiText();
}

std::optional<Utf8Text> WhyNotSuccessor(const Services& services, const PresentAdapter& adapter, bool hasEntry,
                                        const KeyValues& values, const Ipv4Settings& ghost) {
    const Utf8Text id = services.cases.Upper(services.codec.ToUtf8(adapter.instanceId));
    if (!hasEntry) return Utf8Text("it has no connection entry in the current control set");
    // WAN miniports, VPN and other software adapters are never a machine's new network card.
    if (id.rfind("ROOT\\", 0) == 0 || id.rfind("SWD\\", 0) == 0) return "it is a software device (" + adapter.instanceId + ")";
    if ((adapter.characteristics & kNcfPhysical) == 0 || (adapter.characteristics & kNcfVirtual) != 0) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%X", adapter.characteristics);
        return Utf8Text("it is not a physical adapter (Characteristics ") + flags + ")";
    }
    if (!values.found) return Utf8Text("it has no IPv4 settings");
    if (!values.whole) return Utf8Text("its IPv4 settings could not be read whole");
    const std::vector<AnsiText> own = StaticAddresses(values);
    if (DwordOf(values.Get("EnableDHCP")).value_or(0) == 0) {
        return "it is not on DHCP" + (own.empty() ? Utf8Text() : " (its static address is " + JoinTexts(own, ", ") + ")");
    }
    if (!own.empty()) return "it has a static address of its own: " + JoinTexts(own, ", ");
    if (DwordOf(values.Get("DisableDhcpOnConnect")) == 1u) return Utf8Text("DisableDhcpOnConnect is set on it");
    const AnsiText lease = WorkingLease(values);
    if (FirstText(values.Get("DhcpServer")) == kAzureDhcp) {
        return "its lease" + (lease.empty() ? Utf8Text() : " " + lease) +
               " is from 168.63.129.16, Azure's DHCP service, which must assign its address";
    }
    // No lease, or an automatic 169.254 address: nothing reaches it now that the hand-over could cut off.
    if (lease.empty() || (*ParseAddress(lease) >> 16) == 0xA9FE) return std::nullopt;
    const AnsiText maskText = FirstText(values.Get("DhcpSubnetMask"));
    const std::optional<std::uint32_t> mask = ParseAddress(maskText);
    if (!mask) return "it is reachable on its lease " + lease + FromServer(values) + ", whose subnet mask is unknown";
    const AnsiText address = FirstAddress(ghost.addresses);
    const AnsiText gateway = ghost.gateways.empty() ? AnsiText() : ghost.gateways[0];
    const std::uint32_t leased = *ParseAddress(lease);
    const auto inLease = [&](const AnsiText& text) {
        const std::optional<std::uint32_t> parsed = ParseAddress(text);
        return parsed && (*parsed & *mask) == (leased & *mask);
    };
    if (inLease(address) && (gateway.empty() || inLease(gateway))) return std::nullopt;
    return "it is reachable on its lease " + lease + "/" + maskText + FromServer(values) + ", another network than " +
           address + (gateway.empty() ? "" : " with gateway " + gateway) + ": the hand-over would cut it off";
}

}  // namespace tarvex

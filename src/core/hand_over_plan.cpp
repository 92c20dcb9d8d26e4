#include "core/hand_over_plan.h"

#include "core/ipv4_settings.h"
#include "core/stored_names.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <cstdio>
#include <map>
#include <set>

namespace tarvex {

namespace {

// Where the network class keeps its adapters' connection entries.
constexpr char kAdapterEntries[] = "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
constexpr std::uint32_t kNcfVirtual = 0x1;
constexpr std::uint32_t kNcfPhysical = 0x4;
// Azure's DHCP service: a guest's address there must be the one Azure assigns.
constexpr char kAzureDhcp[] = "168.63.129.16";
constexpr const char* kHandedNames[] = {"EnableDHCP",           "IPAddress",  "SubnetMask", "DefaultGateway",
                                        "DefaultGatewayMetric", "NameServer", "Domain"};
// Value names may be 16,383 characters long, each up to three bytes.
constexpr std::uint32_t kValueNameBufferSize = 3 * 16383 + 1;

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// An IPv4 interface key's values as stored, by upper-case name.
struct InterfaceValues {
    bool found = false;
    bool whole = true;  // false when the listing broke off
    std::map<std::string, HandedValue> values;
    std::set<std::string> notCarried;  // names whose name or text the ANSI code page cannot carry

    const HandedValue* Get(const char* name) const {
        auto value = values.find(UpperAscii(name));
        return value == values.end() ? nullptr : &value->second;
    }
};

InterfaceValues ReadInterface(ExportRegistry& registry, const std::optional<AnsiText>& path) {
    InterfaceValues read;
    UniqueKey key(registry);
    if (!path || key.Open(kLocalMachine, *path, kKeyRead) != kSuccess) return read;
    read.found = true;
    std::vector<char> name(kValueNameBufferSize);
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = kValueNameBufferSize;
        std::uint32_t type = kRegNone;
        std::uint32_t size = 0;
        // Asked for the size first, then read: one value at a time, each whole.
        Status status = registry.RegEnumValueA(key.get(), index, name.data(), nameLength, type, nullptr, size);
        if (status == kSuccess) {
            data.assign(size, 0);
            nameLength = kValueNameBufferSize;
            status = registry.RegEnumValueA(key.get(), index, name.data(), nameLength, type, data.data(), size);
        }
        if (status != kSuccess) {
            read.whole = status == kNoMoreItems;
            break;
        }
        HandedValue value{AnsiText(name.data(), nameLength), type, std::string(data.begin(), data.begin() + size)};
        const std::string upper = UpperAscii(value.name);
        if (registry.ValueAnsiFit(key.get(), index) != AnsiFit::Exact) read.notCarried.insert(upper);
        read.values.emplace(upper, std::move(value));
    }
    return read;
}

std::vector<AnsiText> Texts(const HandedValue* value) {
    if (value == nullptr || (value->type != kRegSz && value->type != kRegMultiSz)) return {};
    return SplitTexts(value->bytes);
}

AnsiText FirstText(const HandedValue* value) {
    const std::vector<AnsiText> texts = Texts(value);
    return texts.empty() ? AnsiText() : texts[0];
}

std::optional<std::uint32_t> Dword(const HandedValue* value) {
    if (value == nullptr || value->type != kRegDword || value->bytes.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->bytes[i]);
    return number;
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

bool HasStaticAddress(const InterfaceValues& values) {
    for (const AnsiText& address : Texts(values.Get("IPAddress"))) {
        if (address != "0.0.0.0") return true;
    }
    return false;
}

AnsiText FirstAddress(const std::vector<AnsiText>& addresses) {
    for (const AnsiText& address : addresses) {
        if (address != "0.0.0.0") return address;
    }
    return {};
}

// Why a present adapter cannot take the ghost's settings; nothing when it can.
std::optional<Utf8Text> WhyNotSuccessor(const PresentAdapter& adapter, bool hasEntry, const InterfaceValues& values,
                                        const Ipv4Settings& ghost) {
    const std::string id = UpperAscii(adapter.instanceId);
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
    if (Dword(values.Get("EnableDHCP")).value_or(0) == 0) return Utf8Text("it is not on DHCP");
    if (HasStaticAddress(values)) return Utf8Text("it has a static address of its own");
    if (Dword(values.Get("DisableDhcpOnConnect")) == 1u) return Utf8Text("DisableDhcpOnConnect is set on it");
    if (FirstText(values.Get("DhcpServer")) == kAzureDhcp) {
        return Utf8Text("its lease is from 168.63.129.16, Azure's DHCP service, which must assign its address");
    }
    const AnsiText lease = FirstText(values.Get("DhcpIPAddress"));
    const std::optional<std::uint32_t> leased = ParseAddress(lease);
    // No lease, or an automatic 169.254 address: nothing reaches it now that the hand-over could cut off.
    if (!leased || *leased == 0 || (*leased >> 16) == 0xA9FE) return std::nullopt;
    const AnsiText maskText = FirstText(values.Get("DhcpSubnetMask"));
    const std::optional<std::uint32_t> mask = ParseAddress(maskText);
    if (!mask) return "it is reachable on its lease " + lease + ", whose subnet mask is unknown";
    const AnsiText address = FirstAddress(ghost.addresses);
    const AnsiText gateway = ghost.gateways.empty() ? AnsiText() : ghost.gateways[0];
    const auto inLease = [&](const AnsiText& text) {
        const std::optional<std::uint32_t> parsed = ParseAddress(text);
        return mask && parsed && (*parsed & *mask) == (*leased & *mask);
    };
    if (inLease(address) && (gateway.empty() || inLease(gateway))) return std::nullopt;
    return "it is reachable on its lease " + lease + "/" + maskText + ", another network than " + address +
           (gateway.empty() ? "" : " with gateway " + gateway) + ": the hand-over would cut it off";
}

Utf8Text ConnectionName(const Services& services, const AnsiText& entryKey) {
    AnsiText name;
    ReadValue(services.registry, kLocalMachine, entryKey + "\\Connection", "Name", name);
    return services.codec.ToUtf8(name);
}

Utf8Text Named(const HandOverSide& side) {
    return (side.connection.empty() ? side.guid : side.connection) + " (" +
           (side.device.empty() ? Utf8Text() : side.device + ", ") + side.guid + ")";
}

class Pairing {
public:
    Pairing(const Services& services, HandOverPlan& plan) : services_(services), plan_(plan), stored_(services) {}

    // The selected ghosts with static settings, each GUID once.
    void FindGhost(const std::vector<SelectedEntry>& selected) {
        std::vector<HandOverSide> ghosts;
        std::set<Utf8Text> seen;
        for (const SelectedEntry& entry : selected) {
            const ConnectionRow& row = entry.row;
            if (row.adapter != AdapterState::NoDevice && !(row.adapter == AdapterState::NotPresent && entry.uninstalled)) {
                continue;
            }
            const AnsiText guid = ConnectionGuid(row.key);
            if (seen.count(services_.cases.Upper(guid))) continue;
            const std::optional<AnsiText> interfaces = stored_.Find(Ipv4InterfacesKey("CurrentControlSet") + "\\" + guid);
            InterfaceValues values = ReadInterface(services_.registry, interfaces);
            if (Dword(values.Get("EnableDHCP")) != 0u || !HasStaticAddress(values)) continue;
            seen.insert(services_.cases.Upper(guid));
            ghosts.push_back({guid, InCurrentControlSet(row.key), *interfaces, ConnectionName(services_, row.key), row.device});
            if (ghosts.size() == 1) ghostValues_ = std::move(values);
        }
        if (ghosts.empty()) {
            plan_.refusal = "no selected entry of a gone adapter has static IPv4 settings";
            return;
        }
        plan_.staticGhost = true;
        if (ghosts.size() > 1) {
            std::vector<Utf8Text> names;
            for (const HandOverSide& ghost : ghosts) names.push_back(Named(ghost));
            plan_.refusal = "several selected ghosts have static IPv4 settings: " + JoinTexts(names, ", ") +
                            "; select only one of them";
            return;
        }
        plan_.ghost = ghosts[0];
        if (!ghostValues_.whole) plan_.refusal = "the ghost's IPv4 settings could not be read whole";
        for (const char* name : kHandedNames) {
            if (const HandedValue* value = ghostValues_.Get(name)) plan_.values.push_back(*value);
            // Written through the ANSI calls, such a value would not be the ghost's.
            if (ghostValues_.notCarried.count(UpperAscii(name))) {
                plan_.refusal = std::string("the ghost's ") + name + " cannot be written exactly in the ANSI code page";
            }
        }
        plan_.settings = ReadIpv4Settings(services_.registry, kLocalMachine, plan_.ghost.interfacesKey, Ipv4Reads::Whole)
                             .value_or(Ipv4Settings{});
    }

    void FindSuccessor(const PresentAdapters& present, const HandOverRequest& request) {
        std::vector<std::pair<HandOverSide, AnsiText>> qualified;
        std::vector<Utf8Text> failing;
        bool namedFound = false;
        for (const PresentAdapter& adapter : present.adapters) {
            const bool named = services_.cases.Upper(adapter.connectionGuid) == services_.cases.Upper(request.successorGuid);
            if (request.ask == HandOverAsk::Named && !named) continue;
            namedFound = namedFound || named;
            const std::optional<AnsiText> entry = stored_.Find(kAdapterEntries + adapter.connectionGuid);
            const std::optional<AnsiText> interfaces =
                stored_.Find(Ipv4InterfacesKey("CurrentControlSet") + "\\" + adapter.connectionGuid);
            const InterfaceValues values = ReadInterface(services_.registry, interfaces);
            HandOverSide side{adapter.connectionGuid, entry.value_or(""), interfaces.value_or(""),
                              entry ? ConnectionName(services_, *entry) : "", adapter.name};
            const std::optional<Utf8Text> why = WhyNotSuccessor(adapter, entry.has_value(), values, plan_.settings);
            if (!why) {
                qualified.push_back({std::move(side), FirstText(values.Get("DhcpIPAddress"))});
            } else if (entry || request.ask == HandOverAsk::Named) {
                // Adapters with no entry are the system's own; only the named one is worth a word.
                failing.push_back(Named(side) + ": " + *why);
            }
        }
        if (request.ask == HandOverAsk::Named && !namedFound) {
            plan_.refusal = "no present network adapter has the GUID " + request.successorGuid;
        } else if (qualified.empty()) {
            plan_.refusal = "no present adapter can take them" + (failing.empty() ? "" : ": " + JoinTexts(failing, "; "));
        } else if (qualified.size() > 1) {
            std::vector<Utf8Text> names;
            for (const auto& [side, lease] : qualified) names.push_back(Named(side));
            plan_.refusal = "several present adapters could take them: " + JoinTexts(names, ", ") + "; name one";
        } else {
            plan_.successor = qualified[0].first;
            const std::optional<std::uint32_t> lease = ParseAddress(qualified[0].second);
            if (lease && *lease != 0) plan_.successorLease = qualified[0].second;
        }
    }

private:
    const Services& services_;
    HandOverPlan& plan_;
    StoredNames stored_;
    InterfaceValues ghostValues_;
};

}  // namespace

HandOverPlan PlanHandOver(const Services& services, const std::vector<SelectedEntry>& selected,
                          const PresentAdapters& present, const HandOverRequest& request) {
    HandOverPlan plan;
    Pairing pairing(services, plan);
    pairing.FindGhost(selected);
    if (plan.refusal) return plan;
    if (present.error) {
        plan.refusal = "the network adapters could not be listed: " + FailureText(*present.error);
        return plan;
    }
    pairing.FindSuccessor(present, request);
    return plan;
}

Utf8Text SettingsText(const Ipv4Settings& settings) {
    std::vector<Utf8Text> addresses;
    for (std::size_t i = 0; i < settings.addresses.size(); ++i) {
        if (settings.addresses[i] == "0.0.0.0") continue;
        addresses.push_back(settings.addresses[i] +
                            (i < settings.subnetMasks.size() ? "/" + settings.subnetMasks[i] : Utf8Text()));
    }
    Utf8Text text = JoinTexts(addresses, ",");
    if (!settings.gateways.empty()) text += " gw " + JoinTexts(settings.gateways, ",");
    if (!settings.dnsServers.empty()) text += " dns " + JoinTexts(settings.dnsServers, ",");
    return text;
}

Utf8Text ValueText(const HandedValue& value) {
    if (const std::optional<std::uint32_t> number = Dword(&value)) return std::to_string(*number);
    return JoinTexts(Texts(&value), ",");
}

Utf8Text RenameCommand(const HandOverPlan& plan) {
    const auto quoted = [](const Utf8Text& text) {
        Utf8Text quoted = "'";
        for (char c : text) quoted += c == '\'' ? "''" : std::string(1, c);
        return quoted + "'";
    };
    return "Rename-NetAdapter -Name " + quoted(plan.successor.connection) + " -NewName " + quoted(plan.ghost.connection);
}

}  // namespace tarvex

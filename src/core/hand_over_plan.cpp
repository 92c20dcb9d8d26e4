#include "core/hand_over_plan.h"

#include "core/network_paths.h"
#include "core/stored_names.h"
#include "core/successor_rules.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"
#include "util/powershell_quoted.h"

#include <algorithm>
#include <map>

namespace tarvex {

namespace {

// What a hand-over writes, in this order.
constexpr const char* kHandedNames[] = {"IPAddress",  "SubnetMask", "DefaultGateway", "DefaultGatewayMetric",
                                        "NameServer", "Domain",     "EnableDHCP"};

// Off DHCP, with address among its own.
bool HoldsStatically(const KeyValues& values, const AnsiText& address) {
    const StoredValue* dhcp = values.Get("EnableDHCP");
    if (dhcp == nullptr || DwordFromData(dhcp->type, dhcp->bytes) != 0u) return false;
    const std::vector<AnsiText> own = StaticAddresses(values);
    return std::find(own.begin(), own.end(), address) != own.end();
}

// Static: DHCP off, and an address that is one.
bool HasStaticSettings(const KeyValues& values) {
    const StoredValue* dhcp = values.Get("EnableDHCP");
    if (dhcp == nullptr || DwordFromData(dhcp->type, dhcp->bytes) != 0u) return false;
    const StoredValue* address = values.Get("IPAddress");
    return address != nullptr && !FirstAddress(AddressList(address->type, address->bytes)).empty();
}

Utf8Text ConnectionName(const Services& services, const AnsiText& entryKey) {
    AnsiText name;
    ReadValue(services.registry, kLocalMachine, entryKey + "\\Connection", "Name", name);
    return services.codec.ToUtf8(name);
}

// The name as Windows stores it, through the wide call: a name the ANSI
// calls carry with stand-ins would rename the successor wrongly.
std::optional<Utf8Text> ExactConnectionName(const Services& services, const AnsiText& entryKey, Utf8Text& whyNot) {
    UniqueKey connection(services.registry);
    const Status opened = connection.Open(kLocalMachine, entryKey + "\\Connection", kKeyRead);
    std::uint32_t type = kRegNone;
    Utf8Text name;
    const Status read = opened == kSuccess ? services.unicode.QueryUnicodeText(connection.get(), "Name", type, name) : opened;
    if (read != kSuccess) {
        whyNot = "reading the ghost's connection name gave status " + std::to_string(read);
    } else if (type != kRegSz) {
        whyNot = "the ghost's connection name is not a text (type " + std::to_string(type) + ")";
    } else {
        return name;
    }
    return std::nullopt;
}

class Pairing {
public:
    Pairing(const Services& services, HandOverPlan& plan) : services_(services), plan_(plan), stored_(services) {}

    // The selected ghosts with static settings, each GUID once; those
    // whose settings this run deletes in the current control set only.
    void FindGhost(const std::vector<SelectedEntry>& selected) {
        struct Guid {
            const ConnectionRow* row;
            bool deletesCurrent = false;
        };
        const AnsiText currentInterfaces = Ipv4InterfacesKey(kCurrentControlSet) + "\\";
        std::vector<Utf8Text> order;
        std::map<Utf8Text, Guid> guids;
        for (const SelectedEntry& entry : selected) {
            if (!entry.settingsGo) continue;
            const AnsiText guid = ConnectionGuid(entry.row.key);
            auto [known, added] = guids.emplace(UpperName(services_, guid), Guid{&entry.row});
            if (added) order.push_back(known->first);
            const Utf8Text current = UpperName(services_, currentInterfaces + guid);
            for (const AnsiText& key : entry.plannedSettings) {
                known->second.deletesCurrent = known->second.deletesCurrent || UpperName(services_, key) == current;
            }
        }
        std::vector<HandOverSide> ghosts;
        std::vector<Utf8Text> notDeleted;
        KeyValues ghostValues;
        for (const Utf8Text& upper : order) {
            const ConnectionRow& row = *guids[upper].row;
            const AnsiText guid = ConnectionGuid(row.key);
            const std::optional<AnsiText> interfaces = stored_.Find(currentInterfaces + guid);
            KeyValues values = ReadKeyValues(services_, interfaces);
            if (!HasStaticSettings(values)) continue;
            const AnsiText entryKey = InCurrentControlSet(row.key);
            HandOverSide side{guid, entryKey, *interfaces, ConnectionName(services_, entryKey), row.device};
            plan_.staticGhosts.push_back({side, Ipv4SettingsOf(values)});
            if (!guids[upper].deletesCurrent) {
                notDeleted.push_back(Named(side));
                continue;
            }
            if (ghosts.empty()) ghostValues = std::move(values);
            ghosts.push_back(std::move(side));
        }
        if (plan_.staticGhosts.empty()) {
            plan_.refusal = "no selected entry of a gone adapter has static IPv4 settings";
            return;
        }
        if (!notDeleted.empty()) {
            plan_.refusal = JoinTexts(notDeleted, ", ") + (notDeleted.size() == 1 ? " has" : " have") +
                            " static IPv4 settings in CurrentControlSet that this run does not delete: select its "
                            "CurrentControlSet row";
            return;
        }
        if (ghosts.size() > 1) {
            std::vector<Utf8Text> names;
            for (const HandOverSide& ghost : ghosts) names.push_back(Named(ghost));
            plan_.refusal = "several selected ghosts have static IPv4 settings: " + JoinTexts(names, ", ") +
                            "; select only one of them";
            return;
        }
        plan_.ghost = ghosts[0];
        TakeValues(ghostValues);
        plan_.freeName = ExactConnectionName(services_, plan_.ghost.entryKey, plan_.whyNoFreeName);
    }

    void FindSuccessor(const PresentAdapters& present, const HandOverRequest& request) {
        std::vector<std::pair<HandOverSide, const PresentAdapter*>> qualified;
        bool namedFound = false;
        AnsiText lease;
        const AnsiText address = FirstAddress(plan_.settings.addresses);
        for (const PresentAdapter& adapter : present.adapters) {
            const std::optional<AnsiText> entry = stored_.Find(AdapterEntriesKey() + "\\" + adapter.connectionGuid);
            const std::optional<AnsiText> interfaces =
                stored_.Find(Ipv4InterfacesKey(kCurrentControlSet) + "\\" + adapter.connectionGuid);
            const KeyValues values = ReadKeyValues(services_, interfaces);
            HandOverSide side{adapter.connectionGuid, entry.value_or(""), interfaces.value_or(""),
                              entry ? ConnectionName(services_, *entry) : "", adapter.name};
            // Moved by hand already: writing it again would give two adapters one address.
            if (HoldsStatically(values, address)) {
                plan_.heldBy = Named(side);
                return;
            }
            const bool named = UpperName(services_, adapter.connectionGuid) == UpperName(services_, request.successorGuid);
            if (request.ask == HandOverAsk::Named && !named) continue;
            namedFound = namedFound || named;
            const std::optional<Utf8Text> why = WhyNotSuccessor(services_, adapter, entry.has_value(), values, plan_.settings);
            if (!why) {
                if (qualified.empty()) lease = WorkingLease(values);
                qualified.push_back({std::move(side), &adapter});
            } else if (entry || request.ask == HandOverAsk::Named) {
                // Adapters with no entry are the system's own; only the named one is worth a word.
                plan_.considered.push_back(Named(side) + ": " + *why);
            }
        }
        plan_.qualified = qualified.size();
        if (request.ask == HandOverAsk::Named && !namedFound) {
            plan_.refusal = "no present network adapter has the GUID " + request.successorGuid;
        } else if (qualified.empty()) {
            plan_.refusal = "no present adapter can take them";
        } else if (qualified.size() > 1) {
            std::vector<Utf8Text> names;
            for (const auto& [side, adapter] : qualified) names.push_back(Named(side));
            plan_.refusal = "several present adapters could take them: " + JoinTexts(names, ", ");
        } else {
            plan_.successor = qualified[0].first;
            plan_.successorAdapter = *qualified[0].second;
            plan_.successorLease = lease;
        }
    }

private:
    // The values the hand-over writes, each exactly as stored, and the same as the reports give them.
    void TakeValues(const KeyValues& values) {
        if (!values.whole) plan_.refusal = "the ghost's IPv4 settings could not be read whole";
        for (const char* name : kHandedNames) {
            if (const StoredValue* value = values.Get(name)) plan_.values.push_back(*value);
            // Written through the ANSI calls, such a value would not be the ghost's.
            if (!values.Carried(name)) {
                plan_.refusal = std::string("the ghost's ") + name + " cannot be written exactly in the ANSI code page";
            }
        }
        plan_.settings = Ipv4SettingsOf(values);
    }

    const Services& services_;
    HandOverPlan& plan_;
    StoredNames stored_;
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

bool Paired(const HandOverPlan& plan) { return !plan.refusal && !plan.heldBy; }

std::optional<Utf8Text> WhyNotPaired(const HandOverPlan& plan) {
    if (plan.heldBy) return *plan.heldBy + " has " + FirstAddress(plan.settings.addresses) + " already";
    if (!plan.refusal || plan.qualified > 0 || plan.considered.empty()) return plan.refusal;
    return *plan.refusal + ": " + JoinTexts(plan.considered, "; ");
}

bool HandOverRequired(const HandOverPlan& plan) { return !plan.staticGhosts.empty() && !plan.heldBy; }

bool StaticSettingsWouldGo(const HandOverPlan& plan) { return plan.refusal && !plan.staticGhosts.empty(); }

Utf8Text Named(const HandOverSide& side) {
    return (side.connection.empty() ? side.guid : side.connection) + " (" +
           (side.device.empty() ? Utf8Text() : side.device + ", ") + side.guid + ")";
}

Utf8Text SettingsText(const Ipv4Settings& settings) {
    std::vector<Utf8Text> addresses;
    for (std::size_t i = 0; i < settings.addresses.size(); ++i) {
        if (!IsAnAddress(settings.addresses[i])) continue;
        addresses.push_back(settings.addresses[i] +
                            (i < settings.subnetMasks.size() ? "/" + settings.subnetMasks[i] : Utf8Text()));
    }
    Utf8Text text = JoinTexts(addresses, ",");
    if (!settings.gateways.empty()) text += " gw " + JoinTexts(settings.gateways, ",");
    if (!settings.dnsServers.empty()) text += " dns " + JoinTexts(settings.dnsServers, ",");
    return text;
}

Utf8Text ValueText(const StoredValue& value) {
    if (const std::optional<std::uint32_t> number = DwordFromData(value.type, value.bytes)) return std::to_string(*number);
    return JoinTexts(AddressList(value.type, value.bytes), ",");
}

std::optional<Utf8Text> RenameCommand(const HandOverPlan& plan) {
    if (!plan.freeName) return std::nullopt;
    // By its GUID: a name read through the ANSI calls, or one with wildcards, could match another adapter.
    return "Get-NetAdapter | Where-Object InterfaceGuid -eq " + PowerShellQuoted(plan.successor.guid) +
           " | Rename-NetAdapter -NewName " + PowerShellQuoted(*plan.freeName);
}

}  // namespace tarvex

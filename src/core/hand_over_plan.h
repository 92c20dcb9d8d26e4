#pragma once

#include "core/connection_row.h"
#include "core/ipv4_settings.h"
#include "core/present_adapters.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// Whether to hand a ghost's static IPv4 settings to the adapter that
// replaced it: to the one adapter that qualifies, or to the one named.
enum class HandOverAsk { None, Automatic, Named };

struct HandOverRequest {
    HandOverAsk ask = HandOverAsk::None;
    AnsiText successorGuid;  // when named, with its braces
};

// One value as stored: what the hand-over copies.
struct HandedValue {
    AnsiText name;
    std::uint32_t type = kRegNone;
    std::string bytes;
};

// One side of a hand-over, in the current control set.
struct HandOverSide {
    AnsiText guid;
    AnsiText entryKey;       // its connection entry
    AnsiText interfacesKey;  // its IPv4 settings, as stored
    Utf8Text connection;     // its connection's name
    Utf8Text device;         // its device's name
};

struct HandOverPlan {
    HandOverSide ghost;
    HandOverSide successor;
    std::vector<HandedValue> values;  // the ghost's, read before they are deleted
    Ipv4Settings settings;            // the same, as the reports give them
    AnsiText successorLease;          // the successor's DHCP address now; empty without a working lease
    // Why nothing will be handed over, naming the candidates; nothing when the pair is made.
    std::optional<Utf8Text> refusal;
    // Some selected ghost has static settings: then handing nothing over is a failure.
    bool staticGhost = false;
};

// A selected entry, as the deletion plan knows it.
struct SelectedEntry {
    const ConnectionRow& row;  // its key, adapter state and device
    bool uninstalled;          // its device is uninstalled in the same run
};

// Pairs the one selected ghost with static settings (its adapter gone, or
// uninstalled in the same run) with the present adapter that replaced it:
// physical, on DHCP with no static address of its own, not kept off DHCP,
// on no lease the hand-over would break, and not leased by Azure's DHCP
// service. GUIDs compare without regard to case. Reads the ghost's values
// now, before the run deletes them.
HandOverPlan PlanHandOver(const Services& services, const std::vector<SelectedEntry>& selected,
                          const PresentAdapters& present, const HandOverRequest& request);

// "10.1.2.3/255.255.255.0 gw 10.1.2.1 dns 10.1.2.53,10.1.2.54"
Utf8Text SettingsText(const Ipv4Settings& settings);

// A value's data as text: a number, the text, or a list's texts joined by commas.
Utf8Text ValueText(const HandedValue& value);

// The PowerShell command that gives the successor the ghost's connection name.
Utf8Text RenameCommand(const HandOverPlan& plan);

}  // namespace tarvex

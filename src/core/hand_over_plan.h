#pragma once

#include "core/connection_row.h"
#include "core/ipv4_settings.h"
#include "core/key_values.h"
#include "core/present_adapters.h"
#include "core/services.h"
#include "util/encoded_text.h"

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

// One side of a hand-over, in the current control set.
struct HandOverSide {
    AnsiText guid;
    AnsiText entryKey;       // its connection entry
    AnsiText interfacesKey;  // its IPv4 settings, as stored
    Utf8Text connection;     // its connection's name, as the ANSI calls give it
    Utf8Text device;         // its device's name
};

// A selected ghost with static IPv4 settings in the current control set.
struct StaticGhost {
    HandOverSide side;
    Ipv4Settings settings;
};

struct HandOverPlan {
    HandOverSide ghost;
    HandOverSide successor;
    PresentAdapter successorAdapter;  // as the plan saw it, for the look just before the write
    // The ghost's values, read before the run deletes them, in the order
    // they are written: EnableDHCP last, so that the adapter leaves DHCP
    // only once it has everything else.
    std::vector<StoredValue> values;
    Ipv4Settings settings;    // the same, as the reports give them
    AnsiText successorLease;  // the successor's DHCP address now; empty without a working lease
    // The ghost's connection name exactly as stored, which the successor
    // may take; nothing when it could not be read so, and why.
    std::optional<Utf8Text> freeName;
    Utf8Text whyNoFreeName;
    // Why nothing will be handed over, naming the candidates; nothing when
    // the pair is made or the address is held already.
    std::optional<Utf8Text> refusal;
    // Each present adapter looked at that cannot take them, and why; with
    // none that can, the refusal's reasons.
    std::vector<Utf8Text> considered;
    std::size_t qualified = 0;  // those that could; of several, one must be named
    // The present adapter that has the ghost's address already: nothing needs handing over.
    std::optional<Utf8Text> heldBy;
    // The selected ghosts with static settings: with none, handing nothing over is no failure.
    std::vector<StaticGhost> staticGhosts;
    // Made new and empty before anything is deleted, filled just before the writes.
    std::optional<Utf8Text> undoFile;
};

// A successor will be written to.
bool Paired(const HandOverPlan& plan);

// Why nothing will be handed over: the refusal with the adapters looked at,
// or the adapter that has the address already; nothing when paired.
std::optional<Utf8Text> WhyNotPaired(const HandOverPlan& plan);

// A ghost's static settings would be deleted with no present adapter
// taking them or holding its address already.
bool StaticSettingsWouldGo(const HandOverPlan& plan);

// Some selected ghost has static settings and no present adapter has its
// address already: then handing nothing over is a failure.
bool HandOverRequired(const HandOverPlan& plan);

// A selected entry, as the deletion plan decided it.
struct SelectedEntry {
    const ConnectionRow& row;                    // its key, adapter state and device
    bool settingsGo;                             // the plan deletes its IP settings (or would, were they there)
    const std::vector<AnsiText>& plannedSettings;  // the IP-settings keys the plan deletes, as stored
};

// Pairs the one selected ghost with static settings with the present
// adapter that replaced it, unless a present adapter off DHCP lists the
// ghost's address in its IPAddress already. A ghost is a selected GUID whose plan deletes
// its IPv4 settings in the current control set; a GUID whose settings go
// only in another control set is refused. The successor passes every rule
// of WhyNotSuccessor, and is the only one that does, or the one named.
// GUIDs compare without regard to case. Reads the ghost's values now,
// before the run deletes them.
HandOverPlan PlanHandOver(const Services& services, const std::vector<SelectedEntry>& selected,
                          const PresentAdapters& present, const HandOverRequest& request);

// "10.1.2.3/255.255.255.0 gw 10.1.2.1 dns 10.1.2.53,10.1.2.54"
Utf8Text SettingsText(const Ipv4Settings& settings);

// A value's data as text: a number, the text, or a list's texts joined by commas.
Utf8Text ValueText(const StoredValue& value);

// The PowerShell command that gives the successor the ghost's connection
// name; nothing when that name could not be read exactly.
std::optional<Utf8Text> RenameCommand(const HandOverPlan& plan);

// "Ethernet 2 (Intel I219-V, {GUID})"
Utf8Text Named(const HandOverSide& side);

}  // namespace tarvex

#pragma once

#include "core/clock.h"
#include "core/device_installer.h"
#include "core/network_list.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

// Where Windows keeps a profile for each network it has identified, and
// the signatures (gateway, DNS suffix) it knows each by. Microsoft
// documents the network list's API, not these keys.
inline constexpr char kNetworkListKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkList";

// One Profiles subkey, with what the signatures that name it add.
struct NetworkProfile {
    AnsiText key;   // Profiles\{GUID} below HKLM, as stored
    AnsiText guid;  // the key's name
    Utf8Text name;  // ProfileName as Windows stores it; empty when missing or no text
    // Each as stored; nothing when missing, or of another type or size.
    std::optional<std::uint32_t> category;  // 0 Public, 1 Private, 2 Domain
    std::optional<std::uint32_t> managed;
    std::optional<std::uint32_t> nameType;  // 6 wired, 71 wireless, 243 mobile broadband, 23 VPN
    std::optional<LocalTime> created;
    std::optional<LocalTime> lastConnected;
    std::vector<AnsiText> gatewayMacs;  // "AA-BB-CC-DD-EE-FF" for each signature that has one
    std::vector<Utf8Text> dnsSuffixes;  // each signature's, when it has one
    std::vector<AnsiText> signatures;   // the signature keys that name it, as stored
    std::optional<bool> connected;      // nothing when the service cannot tell
};

struct ProfileScan {
    std::vector<NetworkProfile> profiles;
    // Why no profile can be told connected now: the service could not be
    // asked, or networks are connected and none of their IDs is a profile's
    // key, which would leave a profile in use looking unused.
    std::optional<Utf8Text> notTold;
    // Connected networks Windows keeps no profile for (no gateway: a cluster
    // heartbeat, iSCSI, a host-only adapter): their IDs name no key while
    // another connected network's does, which proves the IDs.
    std::vector<AnsiText> unidentified;
};

// Every Profiles subkey in the 64-bit registry, with the signatures under
// Signatures\Managed and Signatures\Unmanaged whose ProfileGuid names it
// (compared without case; one with none, or with no GUID, is left alone),
// and whether the network list service (services.networks) counts it
// connected. A value of the wrong type or size reads as missing; a subkey
// that cannot be opened is listed with its name alone.
ProfileScan ScanProfiles(const Services& services);

// Asked again just before a profile goes: whether the network list
// service counts the network of profileKey (Profiles\{GUID}) connected now.
PresenceCheck IsConnectedNow(const Services& services, const AnsiText& profileKey);

// Not connected now, and last connected at least days before now, both
// taken as local time (the rule of entries); without a readable last
// connection, never.
bool IsStaleProfile(const NetworkProfile& profile, const LocalTime& now, std::uint32_t days);

// "Public", "Private", "Domain", another number as it is; empty when missing.
Utf8Text CategoryText(const std::optional<std::uint32_t>& category);
// "Wired", "Wireless", "Mobile broadband", "VPN", another number as it is; empty when missing.
Utf8Text KindText(const std::optional<std::uint32_t>& nameType);
// "YYYY-MM-DDTHH:MM:SS", local as stored; empty when missing.
Utf8Text LocalTimeText(const std::optional<LocalTime>& time);

}  // namespace tarvex

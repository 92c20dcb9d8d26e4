#include "core/network_profiles.h"

#include "core/connection_scan.h"
#include "core/ipv4_settings.h"
#include "core/stored_names.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"
#include "util/braced_guid.h"
#include "util/hex_byte.h"

#include <cstdio>
#include <map>

namespace tarvex {

namespace {

constexpr char kSignatureKinds[][10] = {"Managed", "Unmanaged"};
// A SYSTEMTIME: eight little-endian 16-bit words.
constexpr std::size_t kSystemTimeSize = 16;
constexpr std::size_t kMacSize = 6;
constexpr std::int64_t kSecondsPerDay = 86'400;

std::optional<std::string> ReadBinary(RegistryApi& registry, KeyHandle key, const char* name, std::size_t size) {
    std::uint32_t type = kRegNone;
    std::string data;
    if (!ReadValueData(registry, key, name, type, data) || type != kRegBinary || data.size() != size) {
        return std::nullopt;
    }
    return data;
}

// Text as Windows stores it, through the wide call; nothing for another type.
std::optional<Utf8Text> ReadText(const Services& services, KeyHandle key, const char* name) {
    std::uint32_t type = kRegNone;
    Utf8Text text;
    if (services.unicode.QueryUnicodeText(key, name, type, text) != kSuccess || type != kRegSz) return std::nullopt;
    return text;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<LocalTime> DecodeSystemTime(const std::optional<std::string>& data) {
    if (!data) return std::nullopt;
    int words[8];
    for (int i = 0; i < 8; ++i) {
        words[i] = static_cast<unsigned char>((*data)[2 * i]) | static_cast<unsigned char>((*data)[2 * i + 1]) << 8;
    }
    // year, month, day of week, day, hour, minute, second, milliseconds; the day of week is Windows' own.
    const LocalTime time{words[0], words[1], words[3], words[4], words[5], words[6]};
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 || words[2] > 6 ||
        time.day < 1 || time.day > DaysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59 ||
        time.second > 59 || words[7] > 999) {
        return std::nullopt;
    }
    return time;
}

Utf8Text MacText(const std::string& bytes) {
    Utf8Text text;
    for (char byte : bytes) {
        if (!text.empty()) text += '-';
        AppendHexByte(text, static_cast<std::uint8_t>(byte), HexCase::Upper);
    }
    return text;
}

// Howard Hinnant's days-from-civil: days since 1970-01-01 of a Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

std::int64_t SecondsOf(const LocalTime& time) {
    return DaysFromCivil(time.year, static_cast<unsigned>(time.month), static_cast<unsigned>(time.day)) *
               kSecondsPerDay +
           time.hour * 3600 + time.minute * 60 + time.second;
}

class Scan {
public:
    explicit Scan(const Services& services) : services_(services) {}

    void Profiles() {
        const AnsiText parent = AnsiText(kNetworkListKey) + "\\Profiles";
        for (const AnsiText& name : Subkeys(parent)) {
            if (name.empty()) continue;
            NetworkProfile profile{parent + "\\" + name, name};
            UniqueKey key(services_.registry);
            if (key.Open(kLocalMachine, profile.key, kKeyRead) == kSuccess) Read(key.get(), profile);
            byGuid_[UpperName(services_, name)] = scan.profiles.size();
            scan.profiles.push_back(std::move(profile));
        }
    }

    void Signatures() {
        for (const char* kind : kSignatureKinds) {
            const AnsiText parent = AnsiText(kNetworkListKey) + "\\Signatures\\" + kind;
            for (const AnsiText& name : Subkeys(parent)) {
                if (!name.empty()) Signature(parent + "\\" + name);
            }
        }
    }

    void Connected(NetworkList* networks) {
        if (networks == nullptr) {
            scan.notTold = "no network list service is at hand";
            return;
        }
        const ConnectedNetworks connected = networks->Connected();
        if (connected.error) {
            scan.notTold = "the network list service could not be asked: " + FailureText(*connected.error);
            return;
        }
        std::vector<bool> isConnected(scan.profiles.size());
        bool proven = false;
        for (const AnsiText& id : connected.ids) {
            auto profile = byGuid_.find(UpperName(services_, id));
            if (profile == byGuid_.end()) {
                scan.unidentified.push_back(id);
                continue;
            }
            isConnected[profile->second] = true;
            proven = true;
        }
        // No ID names a profile: the profile in use cannot be known.
        if (!proven && !scan.unidentified.empty()) {
            scan.notTold = "no connected network's ID names a stored profile: " + JoinTexts(scan.unidentified, ", ");
            scan.unidentified.clear();
            return;
        }
        for (std::size_t i = 0; i < scan.profiles.size(); ++i) scan.profiles[i].connected = isConnected[i];
    }

    ProfileScan scan;

private:
    std::vector<AnsiText> Subkeys(const AnsiText& path) const {
        AnsiText list;
        ListSubkeys(services_.registry, "HKLM", path, list);
        return SplitSubkeyList(list);
    }

    void Read(KeyHandle key, NetworkProfile& profile) const {
        RegistryApi& registry = services_.registry;
        profile.name = ReadText(services_, key, "ProfileName").value_or("");
        profile.category = ReadDwordValue(registry, key, "Category");
        profile.managed = ReadDwordValue(registry, key, "Managed");
        profile.nameType = ReadDwordValue(registry, key, "NameType");
        profile.created = DecodeSystemTime(ReadBinary(registry, key, "DateCreated", kSystemTimeSize));
        profile.lastConnected = DecodeSystemTime(ReadBinary(registry, key, "DateLastConnected", kSystemTimeSize));
    }

    // A signature that names no listed profile by a GUID is left alone.
    void Signature(const AnsiText& path) {
        UniqueKey key(services_.registry);
        if (key.Open(kLocalMachine, path, kKeyRead) != kSuccess) return;
        const std::optional<AnsiText> named = ReadTextValue(services_.registry, key.get(), "ProfileGuid");
        const std::optional<AnsiText> guid = named ? BracedGuid(*named) : std::nullopt;
        if (!guid) return;
        auto profile = byGuid_.find(UpperName(services_, *guid));
        if (profile == byGuid_.end()) return;
        NetworkProfile& owner = scan.profiles[profile->second];
        owner.signatures.push_back(path);
        if (const auto mac = ReadBinary(services_.registry, key.get(), "DefaultGatewayMac", kMacSize)) {
            owner.gatewayMacs.push_back(MacText(*mac));
        }
        if (const auto suffix = ReadText(services_, key.get(), "DnsSuffix"); suffix && !suffix->empty()) {
            owner.dnsSuffixes.push_back(*suffix);
        }
    }

    const Services& services_;
    std::map<Utf8Text, std::size_t> byGuid_;
};

}  // namespace

ProfileScan ScanProfiles(const Services& services) {
    Scan scan(services);
    scan.Profiles();
    scan.Signatures();
    scan.Connected(services.networks);
    return std::move(scan.scan);
}

PresenceCheck IsConnectedNow(const Services& services, const AnsiText& profileKey) {
    if (services.networks == nullptr) return {Presence::Unknown};
    const ConnectedNetworks connected = services.networks->Connected();
    if (connected.error) return {Presence::Unknown, connected.error};
    const Utf8Text guid = UpperName(services, profileKey.substr(profileKey.rfind('\\') + 1));
    for (const AnsiText& id : connected.ids) {
        if (UpperName(services, id) == guid) return {Presence::Present};
    }
    return {Presence::NotPresent};
}

bool IsStaleProfile(const NetworkProfile& profile, const LocalTime& now, std::uint32_t days) {
    if (profile.connected != false || !profile.lastConnected) return false;
    return SecondsOf(now) - SecondsOf(*profile.lastConnected) >= static_cast<std::int64_t>(days) * kSecondsPerDay;
}

Utf8Text CategoryText(const std::optional<std::uint32_t>& category) {
    if (!category) return {};
    switch (*category) {
        case 0: return "Public";
        case 1: return "Private";
        case 2: return "Domain";
        default: return std::to_string(*category);
    }
}

Utf8Text KindText(const std::optional<std::uint32_t>& nameType) {
    if (!nameType) return {};
    switch (*nameType) {
        case 6: return "Wired";
        case 71: return "Wireless";
        case 243: return "Mobile broadband";
        case 23: return "VPN";
        default: return std::to_string(*nameType);
    }
}

Utf8Text LocalTimeText(const std::optional<LocalTime>& time) {
    if (!time) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time->year, time->month, time->day, time->hour,
                  time->minute, time->second);
    return text;
}

}  // namespace tarvex

#pragma once

#include "core/ansi_codec.h"
#include "core/network_profiles.h"
#include "util/encoded_text.h"

#include <string>
#include <vector>

namespace tarvex {

// A header line, then a row per profile: Name, Category, Kind, Managed
// (yes or no), Created, LastConnected, Connected (yes, no, or empty when it
// cannot be told), GatewayMac and DnsSuffix (each joined by ","), Key;
// tab-separated, CR LF after every line, empty where a value is missing.
Utf8Text ProfileTsv(const std::vector<NetworkProfile>& profiles, const AnsiCodec& codec);

// One JSON array of objects with the same members in camelCase, in ASCII:
// texts, managed and connected as booleans, gatewayMac and dnsSuffix as
// arrays, null where a value is missing or cannot be told.
std::string ProfileJson(const std::vector<NetworkProfile>& profiles, const AnsiCodec& codec);

}  // namespace tarvex

#pragma once

#include "core/connection_row.h"
#include "core/device_query.h"
#include "util/ascii_text.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// From each row's texts: a header line, then one line per row: control set,
// connection, adapter, device, key, last seen (UTC in ISO 8601 at the
// time now; empty without one) and the IPv4 column's text, tab-separated,
// CR LF after every line. A tab, CR or LF inside a field becomes a space.
Utf8Text TsvTable(const std::vector<ConnectionRow>& rows, FileTime now);

// One JSON array of objects (key, controlSet, connection, adapter, device,
// pnpInstanceId, lastSeen, lastArrival, lastRemoval, ipv4), in ASCII: every
// other character as \uXXXX. Dates as in the TSV, null when there is none;
// ipv4 is null without settings, else an object of dhcp and four arrays.
std::string JsonArray(const std::vector<ConnectionRow>& rows, FileTime now);

}  // namespace tarvex

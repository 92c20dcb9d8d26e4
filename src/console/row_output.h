#pragma once

#include "core/connection_row.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// From each row's texts: a header line, then one line per row: control set,
// connection, adapter, device and key, tab-separated, CR LF after every line. A tab, CR or LF
// inside a field becomes a space.
Utf8Text TsvTable(const std::vector<ConnectionRow>& rows);

// One JSON array of objects (key, controlSet, connection, adapter, device,
// pnpInstanceId), in ASCII: every other character as \uXXXX.
std::string JsonArray(const std::vector<ConnectionRow>& rows);

}  // namespace tarvex

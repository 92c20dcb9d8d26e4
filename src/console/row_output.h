#pragma once

#include "console/listed_row.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// A header line, then one line per row: control set, connection, adapter,
// device and key, tab-separated, CR LF after every line. A tab, CR or LF
// inside a field becomes a space.
Utf8Text TsvTable(const std::vector<ListedRow>& rows);

// One JSON array of objects (key, controlSet, connection, adapter, device,
// pnpInstanceId), in ASCII: every other character as \uXXXX.
std::string JsonArray(const std::vector<ListedRow>& rows);

}  // namespace tarvex

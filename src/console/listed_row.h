#pragma once

#include "core/connection_row.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// A connection row as the console writes it: every text in UTF-8.
struct ListedRow {
    Utf8Text key;
    Utf8Text controlSet;
    Utf8Text connection;
    AdapterState adapter = AdapterState::Unknown;
    Utf8Text device;
    std::optional<Utf8Text> pnpInstanceId;
    AnsiText registryKey;  // the key as the registry calls take it
};

}  // namespace tarvex

#pragma once

#include "core/connection_row.h"
#include "core/device_query.h"
#include "core/network_paths.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// The pieces between NULs, empty ones included; an empty text gives none.
std::vector<AnsiText> SplitSubkeyList(const AnsiText& list);

// A REG_SZ value of an open key without the NULs that end it: Windows
// compares such names whole, and a second NUL must not make one differ.
// Nothing for another type, or for empty text.
std::optional<AnsiText> ReadTextValue(RegistryApi& registry, KeyHandle key, const AnsiText& name);

// The adapter an open Connection key names: its PnpInstanceID, when that
// is non-empty REG_SZ text.
std::optional<AnsiText> ReadInstanceId(RegistryApi& registry, KeyHandle connection);

struct ConnectionScan {
    std::vector<ConnectionRow> rows;
    // Set when the device query failed: every Adapter is empty, and which
    // rows are stale cannot be told.
    std::optional<DeviceQueryError> deviceError;
};

// What a scan reads besides each row's key and Name: the adapters alone;
// what the window's columns show (the adapters and the IPv4 column); or
// everything the console prints: every text in UTF-8 too, and the whole
// IPv4 record.
enum class RowReads { NamesOnly, Adapters, Columns, Everything };

// A row for every connection key under the four Network paths whose
// Connection subkey has a readable Name, in the scan's order, each with its
// adapter state from one pair of device queries.
ConnectionScan ScanConnectionRows(const Services& services, RowReads reads);

}  // namespace tarvex

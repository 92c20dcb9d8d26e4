#pragma once

#include "core/connection_row.h"
#include "core/device_query.h"
#include "core/network_paths.h"
#include "registry/registry_api.h"
#include "registry/unicode_values.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// The pieces between NULs, empty ones included; an empty text gives none.
std::vector<AnsiText> SplitSubkeyList(const AnsiText& list);

struct ConnectionScan {
    std::vector<ConnectionRow> rows;
    // Set when the device query failed: every Adapter is empty, and which
    // rows are stale cannot be told.
    std::optional<DeviceQueryError> deviceError;
};

// What a scan reads besides each row's key and Name.
struct ScanReads {
    DeviceQuery* devices = nullptr;         // without, PnpInstanceID is not read and no adapter is looked up
    UnicodeValues* unicodeNames = nullptr;  // with, Name is read through the wide call into unicodeName
};

// A row for every connection key under the four Network paths whose
// Connection subkey has a readable Name, in the scan's order, each with its
// adapter state from one pair of device queries.
ConnectionScan ScanConnectionRows(RegistryApi& registry, const ScanReads& reads);
void ScanNetworkKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& networkPath,
                    const ScanReads& reads);
void ScanClassKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& classPath,
                  const ScanReads& reads);

}  // namespace tarvex

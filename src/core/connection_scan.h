#pragma once

#include "core/connection_row.h"
#include "core/device_query.h"
#include "core/network_paths.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// The pieces between NULs, empty ones included; an empty text gives none.
std::vector<AnsiText> SplitSubkeyList(const AnsiText& list);

// A row for every connection key under the four Network paths whose
// Connection subkey has a readable Name, in the scan's order, each with its
// adapter state from one pair of device queries. Without devices the rows
// carry names alone and PnpInstanceID is not read.
std::vector<ConnectionRow> ScanConnectionRows(RegistryApi& registry, DeviceQuery* devices);
void ScanNetworkKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& networkPath,
                    bool withInstanceIds);
void ScanClassKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& classPath,
                  bool withInstanceIds);

}  // namespace tarvex

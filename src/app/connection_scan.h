#pragma once

#include "app/connection_list.h"
#include "core/network_paths.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <array>
#include <string>
#include <vector>

namespace tarvex {

// The pieces between NULs, empty ones included; an empty text gives none.
std::vector<AnsiText> SplitSubkeyList(const AnsiText& list);

// Empties the list, then appends a row for every connection key under the
// four Network paths whose Connection subkey has a readable Name.
void ScanConnections(RegistryApi& registry, ConnectionList& list);
void ScanNetworkKey(RegistryApi& registry, ConnectionList& list, const AnsiText& networkPath);
void ScanClassKey(RegistryApi& registry, ConnectionList& list, const AnsiText& classPath);

}  // namespace tarvex

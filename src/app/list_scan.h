#pragma once

#include "app/connection_list.h"
#include "core/device_query.h"
#include "registry/registry_api.h"

namespace tarvex {

// Empties the list, then fills it with the scan's rows.
void ScanConnections(RegistryApi& registry, DeviceQuery& devices, ConnectionList& list);

}  // namespace tarvex

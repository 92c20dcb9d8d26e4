#pragma once

#include "core/device_query.h"
#include "registry/registry_api.h"
#include "window/connection_list.h"

namespace tarvex {

// Empties the list, then fills it with the scan's rows.
void FillConnectionList(RegistryApi& registry, DeviceQuery& devices, ConnectionList& list);

}  // namespace tarvex

#pragma once

#include "core/services.h"
#include "window/connection_list.h"

namespace tarvex {

// Empties the list, then fills it with the scan's rows.
void FillConnectionList(const Services& services, ConnectionList& list);

}  // namespace tarvex

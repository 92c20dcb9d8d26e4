#pragma once

#include "registry/registry_api.h"

namespace tarvex {

// The scan opens every Connection key for writing: without write rights
// under HKLM it would list nothing and say nothing. kSuccess when the
// current Network key opens for writing or is not there at all; otherwise
// the status of that open.
Status CheckAdminRights(RegistryApi& registry);

}  // namespace tarvex

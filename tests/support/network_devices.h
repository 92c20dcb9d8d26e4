#pragma once

#include "support/registry_writer.h"

#include <string>

namespace tarvex {

// Records a network-class device under CurrentControlSet\Enum, where wine's
// SetupAPI finds it (and counts it present). instanceId is the path below
// Enum; friendlyName may be empty. Returns the first failing status, or 0.
Status SeedNetworkDevice(RegistryWriter& writer, const std::string& instanceId, const std::string& deviceDesc,
                         const std::string& friendlyName);

}  // namespace tarvex

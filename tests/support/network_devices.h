#pragma once

#include "support/registry_writer.h"

#include <cstdint>
#include <string>

namespace tarvex {

// A network device every Windows has and no connection entry names.
inline constexpr char kWanMiniportId[] = "ROOT\\MS_PPTPMINIPORT\\0000";
inline constexpr char kWanMiniportName[] = "WAN Miniport (PPTP)";

// Records a network-class device under CurrentControlSet\Enum, where wine's
// SetupAPI finds it (and counts it present). instanceId is the path below
// Enum; friendlyName may be empty. Returns the first failing status, or 0.
Status SeedNetworkDevice(RegistryWriter& writer, const std::string& instanceId, const std::string& deviceDesc,
                         const std::string& friendlyName);

// Records the WAN miniport, so that a wine prefix lists a device as Windows
// always does: a query that lists none counts as failed.
Status SeedWanMiniport(RegistryWriter& writer);

// Records a device's LastArrivalDate (102) or LastRemovalDate (103) where
// wine's SetupDiGetDevicePropertyW reads it: the default value of
// Enum\<id>\Properties\{83da6326-97a6-4088-9453-a1923f573b29}\00NN, of
// type 0xffff0000 | DEVPROP_TYPE_FILETIME, holding the FILETIME's 8 bytes.
Status SeedDeviceDate(RegistryWriter& writer, const std::string& instanceId, unsigned propertyId,
                      std::uint64_t fileTime);

}  // namespace tarvex

#pragma once

#include "core/case_mapping.h"
#include "core/device_query.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

// A network adapter present now, as its driver key describes it.
struct PresentAdapter {
    AnsiText instanceId;
    Utf8Text name;
    AnsiText driverKey;       // below HKLM
    AnsiText connectionGuid;  // NetCfgInstanceId: its connection entry and IP settings are kept under it
    std::uint32_t characteristics = 0;  // its NCF_ flags
};

struct PresentAdapters {
    std::vector<PresentAdapter> adapters;
    std::optional<DeviceQueryError> error;
};

// Every present network device whose driver key names its connection. A
// device without a driver key, or a key without NetCfgInstanceId, names
// none; a key that is there but cannot be read is an error, since its GUID
// could be anyone's.
PresentAdapters ReadPresentAdapters(DeviceQuery& devices, RegistryApi& registry);

// The present adapter whose connection has this GUID, compared without regard to case.
const PresentAdapter* AdapterOfGuid(const PresentAdapters& present, const CaseMapping& cases, const AnsiText& guid);

}  // namespace tarvex

#pragma once

#include "core/case_mapping.h"
#include "core/connection_row.h"
#include "core/device_query.h"

#include <optional>
#include <vector>

namespace tarvex {

// Sets each row's adapter state and device name from one pair of device
// queries; instance IDs match as the platform compares them, without regard
// to case. When either query fails, or neither lists any device, every row
// keeps an empty Adapter and Device, and the error is given. Rows that name
// no adapter (or no rows) ask nothing.
std::optional<DeviceQueryError> SetAdapterStates(DeviceQuery& devices, const CaseMapping& cases,
                                                 std::vector<ConnectionRow>& rows);

}  // namespace tarvex

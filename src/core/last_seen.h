#pragma once

#include "core/connection_row.h"
#include "core/device_query.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>

namespace tarvex {

inline constexpr FileTime kTicksPerDay = 864'000'000'000ULL;
inline constexpr std::uint32_t kDefaultNotSeenForDays = 30;
inline constexpr std::uint32_t kLongestNotSeenForDays = 36'500;

// Whether the row's entry outlived its adapter: no device at all, or a
// device not present and last seen at least notSeenForDays before now. A
// device not present whose dates are unknown is stale only at 0 days.
bool IsStale(const ConnectionRow& row, FileTime now, std::uint32_t notSeenForDays);

// A not-present row that IsStale keeps: seen too recently, or undated.
bool IsKeptAsRecent(const ConnectionRow& row, FileTime now, std::uint32_t notSeenForDays);

// UTC in ISO 8601 to the second: "2026-10-03T14:22:05Z".
Utf8Text IsoUtcText(FileTime time);

}  // namespace tarvex

#pragma once

#include "core/clock.h"

namespace tarvex {

// A clock that stays where the test puts it.
class FixedClock final : public Clock {
public:
    std::uint64_t UtcNow() override { return utcNow; }
    LocalTime LocalNow() override { return now; }
    LocalTime now{2026, 12, 8, 7, 5, 9};
    std::uint64_t utcNow = 134'411'871'090'000'000;  // 2026-12-08T07:05:09Z
};

}  // namespace tarvex

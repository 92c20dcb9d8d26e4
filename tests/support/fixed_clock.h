#pragma once

#include "core/clock.h"

namespace tarvex {

// A clock that stays where the test puts it.
class FixedClock final : public Clock {
public:
    LocalTime LocalNow() override { return now; }
    LocalTime now{2026, 12, 8, 7, 5, 9};
};

}  // namespace tarvex

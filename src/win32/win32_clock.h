#pragma once

#include "core/clock.h"

namespace tarvex {

// The system's local time.
class Win32Clock final : public Clock {
public:
    std::uint64_t UtcNow() override;
    LocalTime LocalNow() override;
};

}  // namespace tarvex

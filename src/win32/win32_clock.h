#pragma once

#include "core/clock.h"

namespace tarvex {

// The system's local time.
class Win32Clock final : public Clock {
public:
    LocalTime LocalNow() override;
};

}  // namespace tarvex

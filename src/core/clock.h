#pragma once

#include <cstdint>

namespace tarvex {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now: in UTC as a FILETIME's ticks, and as the time of day where the program runs.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t UtcNow() = 0;
    virtual LocalTime LocalNow() = 0;
};

}  // namespace tarvex

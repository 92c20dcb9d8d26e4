#pragma once

namespace tarvex {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The time of day where the program runs.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime LocalNow() = 0;
};

}  // namespace tarvex

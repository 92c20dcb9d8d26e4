#pragma once

namespace tarvex {

// Lets the window handle the events already waiting, once, then returns.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void DoEvents() = 0;
};

}  // namespace tarvex

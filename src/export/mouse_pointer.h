#pragma once

namespace tarvex {

inline constexpr int kDefaultPointer = 0;
inline constexpr int kHourglassPointer = 11;

// The application-wide mouse pointer.
class MousePointer {
public:
    virtual ~MousePointer() = default;
    virtual int Current() const = 0;
    virtual void Set(int pointer) = 0;
};

// Shows the hourglass for its lifetime and puts back what was there before;
// without a pointer (a console has none) it does nothing. Within a scope that
// shows it already, setting it again and putting it back would change nothing
// anyone sees, so it is left alone.
class HourglassScope {
public:
    explicit HourglassScope(MousePointer* pointer)
        : pointer_(pointer != nullptr && pointer->Current() != kHourglassPointer ? pointer : nullptr),
          previous_(pointer_ != nullptr ? pointer_->Current() : kDefaultPointer) {
        if (pointer_ != nullptr) pointer_->Set(kHourglassPointer);
    }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;
    ~HourglassScope() {
        if (pointer_ != nullptr) pointer_->Set(previous_);
    }

private:
    MousePointer* pointer_;
    int previous_;
};

}  // namespace tarvex

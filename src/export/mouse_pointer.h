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
// without a pointer (a console has none) it does nothing.
class HourglassScope {
public:
    explicit HourglassScope(MousePointer* pointer)
        : pointer_(pointer), previous_(pointer != nullptr ? pointer->Current() : kDefaultPointer) {
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

#pragma once

#include <utility>

namespace tarvex {

// Owns one handle and closes it on every path. The closer decides how, so a
// call site can never close a handle the wrong way. A closer provides:
//   using Handle = ...;                   the handle type
//   static Handle None();                 the value that owns nothing
//   static constexpr ... kNothingHeld;    what Close gives when nothing is held
//   Result operator()(Handle) const;      closes, giving the platform's answer
// and may carry what the closing needs (the registry a key belongs to).
template <typename Closer>
class UniqueHandle {
public:
    using Handle = typename Closer::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Closer closer = Closer()) : closer_(closer), handle_(handle) {}
    explicit UniqueHandle(Closer closer) : closer_(closer) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : closer_(other.closer_), handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            closer_ = other.closer_;
            handle_ = other.release();
        }
        return *this;
    }
    ~UniqueHandle() { Close(); }

    Handle get() const { return handle_; }
    bool isOpen() const { return handle_ != Closer::None(); }

    // Gives up ownership without closing.
    Handle release() { return std::exchange(handle_, Closer::None()); }

    // Closes what is held now; the closer's answer.
    auto Close() {
        using Result = decltype(closer_(handle_));
        if (!isOpen()) return Result(Closer::kNothingHeld);
        return closer_(release());
    }

    // Releases whatever was held before handing out the slot, so reusing one
    // owner across a loop of opens never leaks.
    Handle* put() {
        Close();
        return &handle_;
    }

protected:
    const Closer& closer() const { return closer_; }

private:
    Closer closer_{};
    Handle handle_ = Closer::None();
};

}  // namespace tarvex

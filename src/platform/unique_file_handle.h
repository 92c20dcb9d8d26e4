#pragma once

#include <windows.h>

#include <utility>

namespace tarvex {

// Owns one file handle. Close reports whether the system closed it cleanly,
// since a failed close can mean the last bytes never reached the disk.
class UniqueFileHandle {
public:
    UniqueFileHandle() = default;
    explicit UniqueFileHandle(HANDLE handle) : handle_(handle) {}
    UniqueFileHandle(const UniqueFileHandle&) = delete;
    UniqueFileHandle& operator=(const UniqueFileHandle&) = delete;
    UniqueFileHandle(UniqueFileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueFileHandle& operator=(UniqueFileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~UniqueFileHandle() { Close(); }

    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!isOpen()) return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace tarvex

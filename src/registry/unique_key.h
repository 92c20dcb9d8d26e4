#pragma once

#include "registry/registry_api.h"

#include <utility>

namespace tarvex {

// Owns one open registry key and closes it on every path.
class UniqueKey {
public:
    explicit UniqueKey(RegistryApi& registry) : registry_(&registry) {}
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    UniqueKey(UniqueKey&& other) noexcept
        : registry_(other.registry_), handle_(std::exchange(other.handle_, 0)) {}
    UniqueKey& operator=(UniqueKey&& other) noexcept {
        if (this != &other) {
            Close();
            registry_ = other.registry_;
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }
    ~UniqueKey() { Close(); }

    Status Open(KeyHandle parent, const std::string& path, std::uint32_t access) {
        return registry_->RegOpenKeyExA(parent, path, kNoOptions, access, put());
    }

    // Releases whatever was held before handing out the slot.
    KeyHandle& put() {
        Close();
        return handle_;
    }

    KeyHandle get() const { return handle_; }
    bool isOpen() const { return handle_ != 0; }

    Status Close() {
        if (handle_ == 0) return kSuccess;
        return registry_->RegCloseKey(std::exchange(handle_, 0));
    }

private:
    RegistryApi* registry_;
    KeyHandle handle_ = 0;
};

}  // namespace tarvex

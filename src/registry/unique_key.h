#pragma once

#include "registry/registry_api.h"
#include "util/unique_handle.h"

#include <string>

namespace tarvex {

// Closes a key through the registry that opened it.
struct RegistryKeyCloser {
    using Handle = KeyHandle;
    static Handle None() { return 0; }
    static constexpr Status kNothingHeld = kSuccess;
    Status operator()(Handle key) const { return registry->RegCloseKey(key); }
    RegistryApi* registry = nullptr;
};

// Owns one open registry key.
class UniqueKey : public UniqueHandle<RegistryKeyCloser> {
public:
    explicit UniqueKey(RegistryApi& registry) : UniqueHandle(RegistryKeyCloser{&registry}) {}

    Status Open(KeyHandle parent, const AnsiText& path, std::uint32_t access) {
        return closer().registry->RegOpenKeyExA(parent, path, kNoOptions, access, *put());
    }
    Status Open(KeyHandle parent, const WideText& path, std::uint32_t access) {
        return closer().registry->RegOpenKeyExW(parent, path, kNoOptions, access, *put());
    }
};

}  // namespace tarvex

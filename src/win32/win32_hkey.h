#pragma once

#include "registry/registry_api.h"

#include <windows.h>

namespace tarvex {

// Predefined roots are 32-bit values that 64-bit Windows sign-extends into pointers.
inline HKEY ToHkey(KeyHandle key) {
    if (key >= kClassesRoot && key <= 0x8000000F) {
        auto value = static_cast<LONG>(static_cast<std::uint32_t>(key));
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value));
    }
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

inline KeyHandle FromHkey(HKEY key) { return static_cast<KeyHandle>(reinterpret_cast<ULONG_PTR>(key)); }

}  // namespace tarvex

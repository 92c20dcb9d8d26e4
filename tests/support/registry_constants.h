#pragma once

#include "registry/registry_api.h"

#include <cstdint>

namespace tarvex {

// Statuses, rights and types the program never names but its tests do.
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
// A handle whose key was deleted while it was open.
inline constexpr Status kKeyDeleted = 1018;

inline constexpr std::uint32_t kKeyQueryValue = 0x1;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x4;
inline constexpr std::uint32_t kKeyNotify = 0x10;
inline constexpr std::uint32_t kKeyCreateLink = 0x20;
inline constexpr std::uint32_t kReadControl = 0x20000;

inline constexpr std::uint32_t kRegQword = 11;

}  // namespace tarvex

#pragma once

#include <array>

namespace tarvex {

// The Network keys under HKLM, always scanned and backed up in this order.
inline constexpr std::array<const char*, 4> kNetworkPaths = {
    "SYSTEM\\CurrentControlSet\\Control\\Network",
    "SYSTEM\\ControlSet001\\Control\\Network",
    "SYSTEM\\ControlSet002\\Control\\Network",
    "SYSTEM\\ControlSet003\\Control\\Network",
};

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <array>

namespace tarvex {

// The control set Windows runs on, by the name every path of the program gives it.
inline constexpr char kCurrentControlSet[] = "CurrentControlSet";
// The network adapters' class: their connection entries lie under it in each Network key.
inline constexpr char kNetworkAdapterClass[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";

// The Network keys under HKLM, always scanned and backed up in this order.
inline constexpr std::array<const char*, 4> kNetworkPaths = {
    "SYSTEM\\CurrentControlSet\\Control\\Network",
    "SYSTEM\\ControlSet001\\Control\\Network",
    "SYSTEM\\ControlSet002\\Control\\Network",
    "SYSTEM\\ControlSet003\\Control\\Network",
};

// Where the current control set keeps the driver keys the device installer names.
inline AnsiText DriverKeysKey() { return "SYSTEM\\" + AnsiText(kCurrentControlSet) + "\\Control\\Class"; }

// Where the current control set keeps its network adapters' connection entries.
inline AnsiText AdapterEntriesKey() { return AnsiText(kNetworkPaths[0]) + "\\" + kNetworkAdapterClass; }

}  // namespace tarvex

#pragma once

#include "registry/registry_api.h"

#include <array>

namespace tarvex {

struct RootKeyNames {
    RootKey root;
    const char* shortName;  // as RootKeyFromName takes it
    const char* prefix;     // before a key path in a REGEDIT4 key line; empty when it has none
};

// The predefined roots the program names, in RootKeyFromName's order.
inline constexpr std::array<RootKeyNames, 6> kRootKeys{{
    {kCurrentUser, "HKCU", "HKEY_CURRENT_USER\\"},
    {kLocalMachine, "HKLM", "HKEY_LOCAL_MACHINE\\"},
    {kUsers, "HKU", "HKEY_USERS\\"},
    {kDynData, "HKDD", ""},
    {kCurrentConfig, "HKCC", "HKEY_CURRENT_CONFIG\\"},
    {kClassesRoot, "HKCR", "HKEY_CLASSES_ROOT\\"},
}};

}  // namespace tarvex

#pragma once

#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <vector>

namespace tarvex {

// One value as the registry holds it: its name (empty for the key's
// default value), its type and its raw bytes, text as UTF-16LE.
struct WideValue {
    WideText name;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> bytes;
    bool operator==(const WideValue&) const = default;
};

// A key with everything below it, names exactly as stored, in the order
// the registry lists them.
struct WideKey {
    WideText name;
    std::vector<WideValue> values;
    std::vector<WideKey> subkeys;
    bool operator==(const WideKey&) const = default;
};

// A key below one of the roots; top.name is its whole path below root.
struct WideTree {
    RootKey root = kLocalMachine;
    WideKey top;
};

}  // namespace tarvex

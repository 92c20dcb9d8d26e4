#pragma once

#include "export/wide_key.h"
#include "registry/registry_api.h"

#include <optional>

namespace tarvex {

struct WideTreeRead {
    std::optional<WideTree> tree;  // none when the key is missing or cannot be opened
    bool whole = true;             // false when anything of the key could not be read
};

// Reads root\path and its whole subtree into memory through the wide calls,
// each key opened once below its parent's handle. A missing key gives no
// tree and loses nothing; a key that cannot be opened, a subkey that its
// parent listed but that does not open, or a listing that ends with any
// status but 259 makes the read not whole.
WideTreeRead ReadWideTree(RegistryApi& registry, RootKey root, const WideText& path);

}  // namespace tarvex

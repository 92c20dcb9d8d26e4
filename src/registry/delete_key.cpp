#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

Status DeleteKey(RegistryApi& registry, RootKey root, const std::string& keyPath) {
    UniqueKey key(registry);
    // The open checks the caller's rights: a key that cannot be opened is left
    // alone, and the caller learns whether it is gone by looking for it.
    if (key.Open(root, keyPath, kReadWriteMask) != kSuccess) return kSuccess;
    // The platform deletes the tree while our handle to its top stays open.
    return registry.SHDeleteKeyA(root, keyPath);
}

}  // namespace tarvex

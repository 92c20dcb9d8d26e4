#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

Status DeleteKey(RegistryApi& registry, RootKey root, const std::string& keyPath) {
    UniqueKey key(registry);
    // The open checks the caller's rights; a key that cannot be opened is not
    // deleted, and its status says so rather than passing for success.
    if (Status status = key.Open(root, keyPath, kReadWriteMask); status != kSuccess) return status;
    // The platform deletes the tree while our handle to its top stays open.
    return registry.SHDeleteKeyA(root, keyPath);
}

}  // namespace tarvex

#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

KeyDeletion TryDeleteKey(RegistryApi& registry, RootKey root, const std::string& keyPath) {
    UniqueKey key(registry);
    // The open checks the caller's rights: a key that cannot be opened is left alone.
    const Status opened = key.Open(root, keyPath, kReadWriteMask);
    if (opened != kSuccess) return {false, opened};
    // The platform deletes the tree while our handle to its top stays open.
    return {true, registry.SHDeleteKeyA(root, keyPath)};
}

bool KeyIsMissing(RegistryApi& registry, RootKey root, const std::string& keyPath) {
    UniqueKey key(registry);
    return key.Open(root, keyPath, kEnumerateSubKeys) == kFileNotFound;
}

Status DeleteKey(RegistryApi& registry, RootKey root, const std::string& keyPath) {
    const KeyDeletion deletion = TryDeleteKey(registry, root, keyPath);
    return deletion.opened ? deletion.status : kSuccess;
}

}  // namespace tarvex

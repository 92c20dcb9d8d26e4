#include "export/backup_error.h"
#include "export/mod_export.h"
#include "registry/unique_key.h"

#include <cstring>

namespace tarvex {

namespace {

// Key names are at most 255 characters.
constexpr std::uint32_t kKeyNameBufferSize = 260;

}  // namespace

NameCollection EnumKeys(RegistryApi& registry, KeyHandle root, const std::string& keyPath) {
    NameCollection result;
    UniqueKey opened(registry);
    KeyHandle key = root;
    if (!keyPath.empty()) {
        result.openStatus = opened.Open(root, keyPath, kKeyRead);
        if (result.openStatus != kSuccess) {
            // A key that is not there has nothing to lose; one that cannot be read does.
            if (result.openStatus != kFileNotFound) BackupError = true;
            return result;
        }
        key = opened.get();
    }

    char name[kKeyNameBufferSize];
    for (std::uint32_t index = 0;; ++index) {
        std::memset(name, ' ', sizeof name);
        Status status = registry.RegEnumKeyA(key, index, name, kKeyNameBufferSize);
        if (status != kSuccess) {
            if (status != kNoMoreItems) BackupError = true;
            break;
        }
        result.names.emplace_back(name, ::strnlen(name, kKeyNameBufferSize));
    }
    return result;
}

}  // namespace tarvex

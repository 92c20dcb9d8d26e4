#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/open_for_listing.h"

#include <cstring>

namespace tarvex {

namespace {

// Key names are at most 255 characters.
constexpr std::uint32_t kKeyNameBufferSize = 260;

}  // namespace

std::vector<std::string> EnumKeys(RegistryApi& registry, KeyHandle root, const std::string& keyPath) {
    std::vector<std::string> result;
    UniqueKey opened(registry);
    KeyHandle key = OpenForListing(opened, root, keyPath);
    if (key == 0) return result;

    char name[kKeyNameBufferSize];
    for (std::uint32_t index = 0;; ++index) {
        std::memset(name, ' ', sizeof name);
        Status status = registry.RegEnumKeyA(key, index, name, kKeyNameBufferSize);
        if (status != kSuccess) {
            if (status != kNoMoreItems) BackupError = true;
            break;
        }
        result.emplace_back(name, ::strnlen(name, kKeyNameBufferSize));
    }
    return result;
}

}  // namespace tarvex

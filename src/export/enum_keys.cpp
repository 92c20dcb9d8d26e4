#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/open_for_listing.h"

#include <cstring>

namespace tarvex {

namespace {

// Key names are at most 255 characters and the NUL.
constexpr std::uint32_t kKeyNameBufferSize = kLongestAnsiCharacter * 255 + 1;

}  // namespace

std::vector<std::string> EnumKeys(ExportRegistry& registry, KeyHandle root, const std::string& keyPath) {
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
        // A stand-in name would open nothing, or another key: the subtree cannot be saved.
        if (registry.SubkeyAnsiFit(key, index) != AnsiFit::Exact) {
            BackupError = true;
            continue;
        }
        result.emplace_back(name, ::strnlen(name, kKeyNameBufferSize));
    }
    return result;
}

}  // namespace tarvex

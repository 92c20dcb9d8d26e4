#include "registry/registry_64_view.h"

#include "registry/unique_key.h"

namespace tarvex {

Status Registry64View::RegOpenKeyExA(KeyHandle key, const AnsiText& subKey, std::uint32_t options,
                                     std::uint32_t access, KeyHandle& opened) {
    return registry_.RegOpenKeyExA(key, subKey, options, access | kKeyWow64_64Key, opened);
}

Status Registry64View::RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options,
                                     std::uint32_t access, KeyHandle& opened) {
    return registry_.RegOpenKeyExW(key, subKey, options, access | kKeyWow64_64Key, opened);
}

Status Registry64View::SHDeleteKeyA(KeyHandle key, const AnsiText& subKey) {
    const std::size_t split = subKey.rfind('\\');
    if (split == AnsiText::npos) return registry_.SHDeleteKeyA(key, subKey);
    UniqueKey parent(registry_);
    const Status opened = parent.Open(key, subKey.substr(0, split), kReadWriteMask | kKeyWow64_64Key);
    if (opened != kSuccess) return opened;
    return registry_.SHDeleteKeyA(parent.get(), subKey.substr(split + 1));
}

}  // namespace tarvex

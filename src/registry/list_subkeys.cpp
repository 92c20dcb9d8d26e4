#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <new>

namespace tarvex {

namespace {

// Longer than any key name the platform allows, so one call per subkey suffices.
constexpr std::uint32_t kNameBufferSize = 2048;

std::string TrimBlanks(const std::string& text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

Status ListSubkeys(RegistryApi& registry, const std::string& rootName, const std::string& keyPath,
                   std::string& list) {
    Status status = kUnknownRoot;
    RootKey root = RootKeyFromName(rootName);
    if (root == 0) return status;

    UniqueKey key(registry);
    try {
        status = key.Open(root, keyPath, kEnumerateSubKeys);
        if (status != kSuccess) return status;

        std::string buffer;
        for (std::uint32_t index = 0;; ++index) {
            // The platform writes the name and its NUL at the front and leaves
            // the blanks behind it, so trimming keeps exactly "name\0".
            buffer.assign(kNameBufferSize, ' ');
            status = registry.RegEnumKeyA(key.get(), index, buffer.data(), kNameBufferSize);
            if (status != kSuccess) break;
            list += TrimBlanks(buffer);
        }
        list.push_back('\0');
        if (list.size() == 1) list.push_back('\0');
        return key.Close();
    } catch (const std::bad_alloc&) {
        return status;
    }
}

}  // namespace tarvex

#include "registry/mod_reg.h"
#include "registry/root_keys.h"

namespace tarvex {

RootKey RootKeyFromName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    for (const RootKeyNames& names : kRootKeys) {
        if (upper == names.shortName) return names.root;
    }
    return 0;
}

}  // namespace tarvex

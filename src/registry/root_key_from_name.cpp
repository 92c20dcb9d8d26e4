#include "registry/mod_reg.h"

#include <array>
#include <utility>

namespace tarvex {

RootKey RootKeyFromName(const std::string& name) {
    static constexpr std::array<std::pair<const char*, RootKey>, 6> kRoots{{
        {"HKCU", kCurrentUser},
        {"HKLM", kLocalMachine},
        {"HKU", kUsers},
        {"HKDD", kDynData},
        {"HKCC", kCurrentConfig},
        {"HKCR", kClassesRoot},
    }};
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    for (const auto& [shortName, root] : kRoots) {
        if (upper == shortName) return root;
    }
    return 0;
}

}  // namespace tarvex

#include "core/stored_names.h"

#include "core/connection_scan.h"
#include "registry/mod_reg.h"

namespace tarvex {

std::optional<AnsiText> StoredNames::Find(const AnsiText& path) {
    const std::size_t split = path.rfind('\\');
    const AnsiText parent = path.substr(0, split);
    auto listed = parents_.find(parent);
    if (listed == parents_.end()) listed = parents_.emplace(parent, List(parent)).first;
    auto name = listed->second.find(UpperName(services_, path.substr(split + 1)));
    if (name == listed->second.end()) return std::nullopt;
    return parent + "\\" + name->second;
}

Utf8Text UpperName(const Services& services, const AnsiText& name) {
    return services.cases.Upper(services.codec.ToUtf8(name));
}

std::unordered_map<Utf8Text, AnsiText> StoredNames::List(const AnsiText& parent) const {
    AnsiText list;
    ListSubkeys(services_.registry, "HKLM", parent, list);
    std::unordered_map<Utf8Text, AnsiText> names;
    for (AnsiText& name : SplitSubkeyList(list)) {
        if (!name.empty()) names.emplace(UpperName(services_, name), std::move(name));
    }
    return names;
}

}  // namespace tarvex

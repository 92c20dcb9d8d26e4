#include "core/key_values.h"

#include "core/stored_names.h"
#include "export/list_values.h"
#include "registry/unique_key.h"

#include <vector>

namespace tarvex {

void KeyValues::Add(StoredValue value, bool carried) {
    Utf8Text upper = UpperName(*services_, value.name);
    if (!carried) notCarried_.insert(upper);
    values_.emplace(std::move(upper), std::move(value));
}

const StoredValue* KeyValues::Get(const AnsiText& name) const {
    if (services_ == nullptr) return nullptr;
    auto value = values_.find(UpperName(*services_, name));
    return value == values_.end() ? nullptr : &value->second;
}

bool KeyValues::Carried(const AnsiText& name) const {
    return services_ == nullptr || notCarried_.count(UpperName(*services_, name)) == 0;
}

KeyValues ReadKeyValues(const Services& services, KeyHandle key) {
    KeyValues read(services);
    std::vector<ListedValue> values;
    read.whole = ListValues(services.registry, key, values);
    for (ListedValue& value : values) {
        read.Add({std::move(value.name), value.type, std::string(value.bytes.begin(), value.bytes.end())},
                 value.fit == AnsiFit::Exact);
    }
    return read;
}

KeyValues ReadKeyValues(const Services& services, const std::optional<AnsiText>& path) {
    UniqueKey key(services.registry);
    if (!path || key.Open(kLocalMachine, *path, kKeyRead) != kSuccess) return {};
    return ReadKeyValues(services, key.get());
}

}  // namespace tarvex

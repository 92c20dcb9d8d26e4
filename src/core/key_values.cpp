#include "core/key_values.h"

#include "core/stored_names.h"
#include "registry/unique_key.h"

#include <vector>

namespace tarvex {

namespace {

// Value names may be 16,383 characters long, each up to three bytes.
constexpr std::uint32_t kValueNameBufferSize = 3 * 16383 + 1;

}  // namespace

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
    ExportRegistry& registry = services.registry;
    std::vector<char> name(kValueNameBufferSize);
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = kValueNameBufferSize;
        std::uint32_t type = kRegNone;
        std::uint32_t size = 0;
        Status status = registry.RegEnumValueA(key, index, name.data(), nameLength, type, nullptr, size);
        if (status == kSuccess) {
            data.assign(size, 0);
            nameLength = kValueNameBufferSize;
            status = registry.RegEnumValueA(key, index, name.data(), nameLength, type, data.data(), size);
        }
        if (status != kSuccess) {
            read.whole = status == kNoMoreItems;
            break;
        }
        read.Add({AnsiText(name.data(), nameLength), type, std::string(data.begin(), data.begin() + size)},
                 registry.ValueAnsiFit(key, index) == AnsiFit::Exact);
    }
    return read;
}

KeyValues ReadKeyValues(const Services& services, const std::optional<AnsiText>& path) {
    UniqueKey key(services.registry);
    if (!path || key.Open(kLocalMachine, *path, kKeyRead) != kSuccess) return {};
    return ReadKeyValues(services, key.get());
}

}  // namespace tarvex

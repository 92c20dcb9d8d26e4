#pragma once

#include "core/services.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace tarvex {

// One value as stored: its name as stored, its type and its bytes.
struct StoredValue {
    AnsiText name;
    std::uint32_t type = kRegNone;
    std::string bytes;
};

// Every value of one key, read in one pass; names compare as the registry
// compares them, without regard to case.
class KeyValues {
public:
    KeyValues() = default;  // a key that did not open
    explicit KeyValues(const Services& services) : found(true), services_(&services) {}

    void Add(StoredValue value, bool carried);
    const StoredValue* Get(const AnsiText& name) const;
    // Its name and its text reach the ANSI calls exactly; true for a value that is not there.
    bool Carried(const AnsiText& name) const;

    bool found = false;  // the key opened
    bool whole = true;   // false when the listing broke off

private:
    const Services* services_ = nullptr;
    std::map<Utf8Text, StoredValue> values_;  // by upper-case name
    std::set<Utf8Text> notCarried_;
};

// The values of a key open for reading, each asked for its size, then read whole.
KeyValues ReadKeyValues(const Services& services, KeyHandle key);

// The values of the key at path below HKLM; not found without a path.
KeyValues ReadKeyValues(const Services& services, const std::optional<AnsiText>& path);

}  // namespace tarvex

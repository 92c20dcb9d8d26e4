#pragma once

#include "core/services.h"
#include "util/encoded_text.h"

#include <map>
#include <optional>
#include <unordered_map>

namespace tarvex {

// A stored name in upper case, as the registry compares names: in UTF-8,
// through the platform's own case mapping.
Utf8Text UpperName(const Services& services, const AnsiText& name);

// The stored names of a parent key's subkeys by their upper-case form,
// listed once for every path that looks there.
class StoredNames {
public:
    explicit StoredNames(const Services& services) : services_(services) {}

    // The path as stored when the key exists, for an import that brings back
    // its name exactly; nothing when it does not.
    std::optional<AnsiText> Find(const AnsiText& path);

private:
    std::unordered_map<Utf8Text, AnsiText> List(const AnsiText& parent) const;

    const Services& services_;
    std::map<AnsiText, std::unordered_map<Utf8Text, AnsiText>> parents_;
};

}  // namespace tarvex

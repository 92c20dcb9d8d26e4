#pragma once

#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvex {

// What a value's data was converted to. The first three are the variant codes
// the writer has always dispatched on; TypedBytes carries exact bytes of any
// registry type, for everything the shorter forms would change.
enum class ValueKind : std::int32_t {
    Integer = 3,
    Text = 8,
    ByteArray = 8209,
    TypedBytes = 0x10011,
};

struct ValueEntry {
    AnsiText name;  // empty for the key's default value
    ValueKind kind = ValueKind::TypedBytes;  // an empty REG_NONE until converted
    AnsiText text;                           // Text: no terminating NUL
    std::int32_t number = 0;                 // Integer
    std::vector<std::uint8_t> bytes;         // ByteArray and TypedBytes
    std::uint32_t registryType = kRegNone;  // TypedBytes
};

}  // namespace tarvex

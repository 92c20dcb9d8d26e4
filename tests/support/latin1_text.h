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

// Latin-1 text as the wide calls see it: each byte one unit.
inline std::u16string WidenLatin1(const std::string& text) {
    std::u16string wide;
    for (unsigned char c : text) wide += static_cast<char16_t>(c);
    return wide;
}

// UTF-16 text as the ANSI calls give it: '?' stands for each unit beyond
// Latin-1, and beyondLatin1 tells whether there was one.
inline std::string NarrowToLatin1(const std::u16string& text, bool& beyondLatin1) {
    std::string narrow;
    beyondLatin1 = false;
    for (char16_t unit : text) {
        const bool fits = unit <= 0xFF;
        beyondLatin1 = beyondLatin1 || !fits;
        narrow += fits ? static_cast<char>(unit) : '?';
    }
    return narrow;
}

// The platform's conversion as the tests' Windows-1252 names need it.
class Latin1Codec final : public AnsiCodec {
public:
    Utf8Text ToUtf8(const AnsiText& text) const override { return Latin1ToUtf8(text); }
    WideText ToWide(const AnsiText& text) const override { return WidenLatin1(text); }
    AnsiText ToAnsi(const WideText& text) const override {
        bool beyond = false;
        return NarrowToLatin1(text, beyond);
    }
    bool Carries(const WideText& text) const override {
        bool beyond = false;
        NarrowToLatin1(text, beyond);
        return !beyond;
    }
};

}  // namespace tarvex

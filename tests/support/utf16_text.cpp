#include "support/utf16_text.h"

#include "util/utf8.h"

namespace tarvex {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& utf8, char32_t c) {
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& utf8) {
    std::u16string text;
    for (char32_t c : DecodeUtf8(utf8)) {
        if (c < 0x10000) {
            text += static_cast<char16_t>(c);
            continue;
        }
        c -= 0x10000;
        text += static_cast<char16_t>(0xD800 | (c >> 10));
        text += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
    return text;
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string utf8;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(utf8, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(utf8, kReplacement);
        } else {
            AppendUtf8(utf8, unit);
        }
    }
    return utf8;
}

std::string Utf16LeBytes(const std::u16string& text) {
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string Utf16FromLeBytes(const std::string& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return text;
}

}  // namespace tarvex

#include "console/json_text.h"

#include "console/utf8.h"
#include "util/hex_byte.h"

#include <cstdint>

namespace tarvex {

namespace {

// One UTF-16 code unit as \uXXXX.
void AppendUnit(std::string& json, char32_t unit) {
    json += "\\u";
    AppendHexByte(json, static_cast<std::uint8_t>(unit >> 8), HexCase::Lower);
    AppendHexByte(json, static_cast<std::uint8_t>(unit & 0xFF), HexCase::Lower);
}

// A character outside printable ASCII: as \uXXXX, or a surrogate pair of them.
void AppendEscaped(std::string& text, char32_t c) {
    if (c < 0x10000) return AppendUnit(text, c);
    AppendUnit(text, 0xD800 + ((c - 0x10000) >> 10));
    AppendUnit(text, 0xDC00 + ((c - 0x10000) & 0x3FF));
}

}  // namespace

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

std::string JsonString(const Utf8Text& text) {
    std::string json = "\"";
    for (char32_t c : DecodeUtf8(text)) {
        switch (c) {
            case U'"': json += "\\\""; break;
            case U'\\': json += "\\\\"; break;
            case U'\b': json += "\\b"; break;
            case U'\f': json += "\\f"; break;
            case U'\n': json += "\\n"; break;
            case U'\r': json += "\\r"; break;
            case U'\t': json += "\\t"; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    json += static_cast<char>(c);
                } else {
                    AppendEscaped(json, c);
                }
        }
    }
    return json + "\"";
}

std::string JsonValues(const std::vector<std::string>& values) {
    std::string json = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) json += ',';
        json += values[i];
    }
    return json + "]";
}

std::string JsonStrings(const std::vector<Utf8Text>& texts) {
    std::vector<std::string> values;
    for (const Utf8Text& text : texts) values.push_back(JsonString(text));
    return JsonValues(values);
}

}  // namespace tarvex

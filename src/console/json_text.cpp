#include "console/json_text.h"

#include "console/utf8.h"

#include <cstdio>

namespace tarvex {

namespace {

void AppendUnit(std::string& json, unsigned unit) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", unit);
    json += escape;
}

}  // namespace

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
                } else if (c < 0x10000) {
                    AppendUnit(json, static_cast<unsigned>(c));
                } else {
                    AppendUnit(json, 0xD800 + ((c - 0x10000) >> 10));
                    AppendUnit(json, 0xDC00 + ((c - 0x10000) & 0x3FF));
                }
        }
    }
    return json + "\"";
}


std::string JsonStrings(const std::vector<Utf8Text>& texts) {
    std::string json = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) json += (i == 0 ? "" : ",") + JsonString(texts[i]);
    return json + "]";
}

}  // namespace tarvex

#include "console/json_text.h"

#include "util/ascii_text.h"
#include "util/utf8.h"

namespace tarvex {

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

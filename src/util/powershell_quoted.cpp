#include "util/powershell_quoted.h"

namespace tarvex {

namespace {

// U+2018 to U+201B in UTF-8: E2 80 98 to E2 80 9B.
bool IsCurlyQuoteAt(const Utf8Text& text, std::size_t at) {
    return at + 2 < text.size() && static_cast<unsigned char>(text[at]) == 0xE2 &&
           static_cast<unsigned char>(text[at + 1]) == 0x80 && static_cast<unsigned char>(text[at + 2]) >= 0x98 &&
           static_cast<unsigned char>(text[at + 2]) <= 0x9B;
}

}  // namespace

Utf8Text PowerShellQuoted(const Utf8Text& text) {
    Utf8Text quoted = "'";
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\'') {
            quoted += "''";
        } else if (IsCurlyQuoteAt(text, at)) {
            const Utf8Text quote = text.substr(at, 3);
            quoted += quote + quote;
            at += 2;
        } else {
            quoted += text[at];
        }
    }
    return quoted + "'";
}

}  // namespace tarvex

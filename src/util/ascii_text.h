#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// A character outside printable ASCII as \uXXXX, or a surrogate pair of them.
void AppendEscaped(std::string& text, char32_t c);

// UTF-8 text in printable ASCII: every other character as \uXXXX, as the
// JSON writes it; nothing else escaped.
std::string AsciiText(const Utf8Text& text);

// A text on one line of tab-separated fields: tabs and line breaks become spaces.
inline Utf8Text TsvField(Utf8Text text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace tarvex

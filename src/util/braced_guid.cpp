#include "util/braced_guid.h"

#include <cctype>

namespace tarvex {

std::optional<AnsiText> BracedGuid(const Utf8Text& text) {
    const bool braced = text.size() == 38 && text.front() == '{' && text.back() == '}';
    const Utf8Text bare = braced ? text.substr(1, 36) : text;
    if (bare.size() != 36) return std::nullopt;
    for (std::size_t i = 0; i < bare.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? bare[i] != '-' : !std::isxdigit(static_cast<unsigned char>(bare[i]))) return std::nullopt;
    }
    return "{" + bare + "}";
}

}  // namespace tarvex

#include "util/utf8.h"

namespace tarvex {

std::u32string DecodeUtf8(const Utf8Text& text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::u32string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            decoded += kReplacement;
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = valid && (next >> 6) == 0x2;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            decoded += kReplacement;
            ++i;
            continue;
        }
        decoded += c;
        i += length;
    }
    return decoded;
}

}  // namespace tarvex

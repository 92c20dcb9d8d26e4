#include "export/mod_export.h"
#include "registry/mod_reg.h"

#include <cstdio>
#include <string>

namespace tarvex {

std::string HexDword(const std::string& text, int width) {
    // Negative numbers come out as their 32-bit two's complement.
    auto number = static_cast<std::uint32_t>(std::stoll(text));
    char digits[9];
    std::snprintf(digits, sizeof digits, "%x", static_cast<unsigned>(number));
    return PadZeros(digits, width);
}

}  // namespace tarvex

#include "registry/mod_reg.h"
#include "util/hex_byte.h"

#include <stdexcept>

namespace tarvex {

std::string PadZeros(const std::string& text, int width) {
    if (static_cast<long long>(text.size()) > width) {
        throw std::invalid_argument("PadZeros: \"" + text + "\" is longer than " + std::to_string(width));
    }
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

std::string BytesToHexList(const std::string& data) {
    std::string list;
    list.reserve(data.size() * 3 + 2);
    for (unsigned char byte : data) {
        AppendHexByte(list, byte, HexCase::Lower);
        list += ',';
    }
    list += "00";
    return list;
}

}  // namespace tarvex

#pragma once

#include <cstdint>
#include <string>

namespace tarvex {

enum class HexCase { Lower, Upper };

// Appends byte as exactly two hex digits.
inline void AppendHexByte(std::string& text, std::uint8_t byte, HexCase letters) {
    const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    text += digits[byte >> 4];
    text += digits[byte & 0xF];
}

}  // namespace tarvex

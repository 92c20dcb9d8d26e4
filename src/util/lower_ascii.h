#pragma once

#include <cctype>
#include <string>

namespace tarvex {

// Commands, options, fixed values and registry roots are ASCII words,
// compared without regard to case.
inline std::string LowerAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace tarvex

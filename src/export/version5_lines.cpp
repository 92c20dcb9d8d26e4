#include "export/version5_lines.h"

#include "export/reg_lines.h"

#include <cstdio>
#include <string>

namespace tarvex {

namespace {

// regedit ends a hex line after the comma that takes it to 77 characters or
// more, with a backslash, and goes on two spaces in: no line passes 80.
constexpr std::size_t kHexLineFull = 77;
constexpr char16_t kHexLineBreak[] = u"\\\r\n  ";
constexpr std::size_t kHexIndent = 2;

WideText Widen(const std::string& ascii) { return WideText(ascii.begin(), ascii.end()); }

WideText UnitsOf(const std::vector<std::uint8_t>& bytes) {
    WideText units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    }
    return units;
}

// The reader decodes exactly these two escapes.
WideText Quoted(const WideText& text) {
    WideText quoted = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') quoted += u'\\';
        quoted += c;
    }
    return quoted + u"\"";
}

WideText NamePart(const WideText& name) { return (name.empty() ? u"@" : Quoted(name)) + u"="; }

// A quoted string imports as its text and one NUL: it carries only data
// of whole characters that ends in exactly one NUL and breaks no line.
bool IsPlainString(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() % 2 != 0) return false;
    const WideText units = UnitsOf(bytes);
    return !units.empty() && units.find_first_of(WideText(u"\0\r\n", 3)) == units.size() - 1;
}

WideText String(const std::vector<std::uint8_t>& bytes) {
    WideText text = UnitsOf(bytes);
    text.pop_back();
    return Quoted(text);
}

WideText Dword(const std::vector<std::uint8_t>& bytes) {
    const std::uint32_t number = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | std::uint32_t{bytes[3]} << 24;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(number));
    return u"dword:" + Widen(digits);
}

WideText HexPrefix(std::uint32_t type) {
    if (type == kRegBinary) return u"hex:";
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    return Widen(prefix);
}

// Two lower-case digits a byte, commas between; lineLength is what the
// line holds before the first.
WideText HexBytes(std::size_t lineLength, const std::vector<std::uint8_t>& bytes) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    WideText hex;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0xF];
        if (i + 1 == bytes.size()) break;
        hex += u',';
        lineLength += 3;
        if (lineLength >= kHexLineFull) {
            hex += kHexLineBreak;
            lineLength = kHexIndent;
        }
    }
    return hex;
}

WideText Hex(std::size_t lineLength, std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    const WideText prefix = HexPrefix(type);
    return prefix + HexBytes(lineLength + prefix.size(), bytes);
}

// Each type in its own form where that form carries the bytes exactly,
// else as hex of its type: the file holds every byte.
WideText DataPart(std::size_t lineLength, const WideValue& value) {
    if (value.type == kRegSz && IsPlainString(value.bytes)) return String(value.bytes);
    if (value.type == kRegDword && value.bytes.size() == 4) return Dword(value.bytes);
    return Hex(lineLength, value.type, value.bytes);
}

}  // namespace

bool FitsOnALine(const WideText& name) { return name.find_first_of(WideText(u"\0\r\n", 3)) == WideText::npos; }

WideText Version5KeyLine(RootKey root, const WideText& keyPath) {
    const WideText rootPrefix = Widen(RootPrefix(root));
    return u"[" + rootPrefix + keyPath + u"]" + kVersion5LineEnd;
}

WideText Version5ValueLine(const WideValue& value) {
    const WideText name = NamePart(value.name);
    return name + DataPart(name.size(), value) + kVersion5LineEnd;
}

}  // namespace tarvex

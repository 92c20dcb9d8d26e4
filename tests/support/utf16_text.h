#pragma once

#include <string>

namespace tarvex {

// UTF-16 as the wide registry calls carry it, for seeding and expectations
// written in UTF-8. A lone surrogate becomes U+FFFD in UTF-8.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& text);

// The bytes Windows stores for UTF-16 text: each unit low byte first.
std::string Utf16LeBytes(const std::u16string& text);
// The units of such bytes; an odd last byte is no unit and is dropped.
std::u16string Utf16FromLeBytes(const std::string& bytes);

// UTF-8 text as UTF-16LE bytes, without a NUL unless the text holds one.
inline std::string Utf16Le(const std::string& utf8) { return Utf16LeBytes(Utf8ToUtf16(utf8)); }

}  // namespace tarvex

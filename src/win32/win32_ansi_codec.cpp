#include "win32/win32_ansi_codec.h"

#include "win32/ansi_code_page.h"
#include "win32/wide_text.h"

#include <algorithm>

namespace tarvex {

Utf8Text Win32AnsiCodec::ToUtf8(const AnsiText& text) const {
    // Keys and instance IDs are ASCII, which every ANSI code page and UTF-8 spell alike.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return text;
    return WideToUtf8(AnsiToWide(text));
}

WideText Win32AnsiCodec::ToWide(const AnsiText& text) const {
    const std::wstring wide = AnsiToWide(text);
    return WideText(wide.begin(), wide.end());
}

AnsiText Win32AnsiCodec::ToAnsi(const WideText& text) const {
    return WideToAnsi(std::wstring(text.begin(), text.end()));
}

bool Win32AnsiCodec::Carries(const WideText& text) const {
    const std::wstring wide(text.begin(), text.end());
    return FitsAnsiCodePage(wide.data(), wide.size());
}

}  // namespace tarvex

#pragma once

#include <string>

namespace tarvex {

// Which characters a std::string holds. The registry calls, the list's rows
// and the clipboard's table travel in the ANSI code page, as the ANSI
// registry calls give them; file paths, captions and messages in UTF-8.
// The platform layer converts each to UTF-16 by its name (wide_text.h).
// WideText is UTF-16 as the wide registry calls take and give it, names
// and all; on Windows it is copied to and from wchar_t unit for unit.
using AnsiText = std::string;
using Utf8Text = std::string;
using WideText = std::u16string;

}  // namespace tarvex

#pragma once

#include <cstddef>

namespace tarvex {

// True when the ANSI code page holds every character: no stand-in, no best
// fit (an A call would silently turn "Ł" into "L"), and back unchanged.
bool FitsAnsiCodePage(const wchar_t* text, std::size_t length);

}  // namespace tarvex

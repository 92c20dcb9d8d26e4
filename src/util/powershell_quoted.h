#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// The text as one single-quoted PowerShell string, for a line a person
// pastes. PowerShell ends such a string at any of five quote characters
// (', U+2018, U+2019, U+201A, U+201B) and reads two in a row as one, so
// each of them is doubled; nothing else in it is special.
Utf8Text PowerShellQuoted(const Utf8Text& text);

}  // namespace tarvex

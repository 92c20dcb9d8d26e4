#pragma once

#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// A GUID as {8-4-4-4-12} hexadecimal digits, its braces optional, given
// back braced and in the case it came in; nothing for anything else.
std::optional<AnsiText> BracedGuid(const Utf8Text& text);

}  // namespace tarvex

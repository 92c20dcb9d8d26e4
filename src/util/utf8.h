#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// Code points of UTF-8 text; a malformed sequence gives U+FFFD.
std::u32string DecodeUtf8(const Utf8Text& text);

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <string>
#include <vector>

namespace tarvex {

// A JSON string of UTF-8 text, in ASCII: every other character as \uXXXX,
// a malformed sequence as U+FFFD, so any console code page reads it alike.
std::string JsonString(const Utf8Text& text);

// A JSON array of values already in JSON.
std::string JsonValues(const std::vector<std::string>& values);

// A JSON array of such strings.
std::string JsonStrings(const std::vector<Utf8Text>& texts);

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <optional>
#include <string>

namespace tarvex {

// What each command does and how to get a command's help; or, for list,
// check or delete, that command's options with their defaults, examples
// and exit codes. Lines end in LF and stay within 80 columns.
Utf8Text HelpText(const std::optional<std::string>& command);

}  // namespace tarvex

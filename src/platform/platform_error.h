#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The system's text for an error number, without the trailing line break.
Utf8Text SystemErrorText(unsigned long number);

// Raises the untrapped error for a window call that failed: the thread's last
// error when it has one, otherwise a general failure naming the action.
[[noreturn]] void ThrowWindowFailure(const char* action);

}  // namespace tarvex

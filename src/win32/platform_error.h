#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The system's text for an error number, without the trailing line break.
Utf8Text SystemErrorText(unsigned long number);

// The thread's last error after a call failed, or fallback when the call
// failed without setting one: a failure must never read as success.
unsigned long LastErrorOr(unsigned long fallback);

// Raises the untrapped error for a window call that failed. Its text names
// what failed ("The clipboard could not be opened"), followed by the system's
// words for the thread's last error when it has one; its number is that
// error, else a general failure.
[[noreturn]] void ThrowWindowFailure(const char* failure);

}  // namespace tarvex

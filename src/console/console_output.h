#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// Data goes to standard output, messages to standard error.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual void Out(const Utf8Text& text) = 0;
    virtual void Err(const Utf8Text& text) = 0;
};

}  // namespace tarvex

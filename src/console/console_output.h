#pragma once

#include "util/encoded_text.h"

#include <cstdint>

namespace tarvex {

enum class WriteResult {
    Written,
    ReaderGone,  // the pipe's reader closed it: nobody is left to read
    Failed,
};

struct OutputWrite {
    WriteResult result = WriteResult::Written;
    std::uint32_t error = 0;
    Utf8Text errorText;  // the system's words for error
};

// Data goes to standard output, messages to standard error.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual OutputWrite Out(const Utf8Text& text) = 0;
    // Where a message cannot be written, there is nowhere left to say so.
    virtual void Err(const Utf8Text& text) = 0;
};

}  // namespace tarvex

#pragma once

#include "console/console_output.h"

#include <windows.h>

namespace tarvex {

// Standard output and error: on a console as Unicode through WriteConsoleW,
// redirected as UTF-8 without a byte-order mark.
class Win32ConsoleOutput final : public ConsoleOutput {
public:
    OutputWrite Out(const Utf8Text& text) override;
    void Err(const Utf8Text& text) override;
};

}  // namespace tarvex

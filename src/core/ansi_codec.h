#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// Text of the ANSI code page the registry calls answer in, as UTF-8 and
// as UTF-16, and whether that code page carries a UTF-16 text exactly.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual Utf8Text ToUtf8(const AnsiText& text) const = 0;
    virtual WideText ToWide(const AnsiText& text) const = 0;
    // As the ANSI registry calls give it: stand-ins for what the code page lacks.
    virtual AnsiText ToAnsi(const WideText& text) const = 0;
    // No stand-in, no best fit, and back unchanged.
    virtual bool Carries(const WideText& text) const = 0;
};

}  // namespace tarvex

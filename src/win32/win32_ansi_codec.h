#pragma once

#include "core/ansi_codec.h"

namespace tarvex {

// Through UTF-16, in the system's ANSI code page.
class Win32AnsiCodec final : public AnsiCodec {
public:
    Utf8Text ToUtf8(const AnsiText& text) const override;
    WideText ToWide(const AnsiText& text) const override;
    AnsiText ToAnsi(const WideText& text) const override;
    bool Carries(const WideText& text) const override;
};

}  // namespace tarvex

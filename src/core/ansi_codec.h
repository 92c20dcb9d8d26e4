#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// Text of the ANSI code page the registry calls answer in, as UTF-8.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual Utf8Text ToUtf8(const AnsiText& text) const = 0;
};

}  // namespace tarvex

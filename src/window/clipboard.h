#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// Replaces the clipboard's content with a text, as the list holds it.
// Throws AppError when the clipboard cannot be had.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const AnsiText& text) = 0;
};

}  // namespace tarvex

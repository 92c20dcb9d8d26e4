#pragma once

#include <string>

namespace tarvex {

// Replaces the clipboard's content with a text (ANSI, as the list holds it).
// Throws AppError when the clipboard cannot be had.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) = 0;
};

}  // namespace tarvex

#pragma once

#include "app/clipboard.h"

#include <windows.h>

namespace tarvex {

// The system clipboard, given Unicode text; Windows offers the ANSI and OEM
// forms from it to programs that ask.
class Win32Clipboard final : public Clipboard {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void SetText(const AnsiText& text) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tarvex

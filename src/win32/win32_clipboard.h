#pragma once

#include "window/clipboard.h"

#include <windows.h>

namespace tarvex {

// The system clipboard, given the text as Unicode and as the ANSI bytes the
// list holds; Windows offers the OEM form from them to programs that ask.
class Win32Clipboard final : public Clipboard {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void SetText(const AnsiText& text) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tarvex

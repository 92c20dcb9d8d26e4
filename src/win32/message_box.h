#pragma once

#include "window/message_boxes.h"

#include <windows.h>

namespace tarvex {

// Message boxes owned by the main window, so they stay modal to it.
class Win32MessageBoxes final : public MessageBoxes {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    MessageAnswer Show(const Utf8Text& text, MessageIcon icon, MessageButtons buttons) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tarvex

#pragma once

#include "window/event_pump.h"

#include <windows.h>

namespace tarvex {

// Handles every message already waiting for this thread, then returns. A
// quit request is put back for the main loop.
class Win32EventPump final : public EventPump {
public:
    void SetDialogWindow(HWND window) { window_ = window; }
    void DoEvents() override;

private:
    HWND window_ = nullptr;
};

// Keyboard navigation (Tab, arrows, Enter, Alt+access keys) goes to the window first.
void DispatchWindowMessage(HWND window, MSG& message);

}  // namespace tarvex

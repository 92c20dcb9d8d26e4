#pragma once

#include "support/assembled_window.h"
#include "support/fake_platform.h"

#include <windows.h>

namespace tarvex {

// Handles every waiting message of this thread.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;  // a test window's close must not end the run
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace tarvex

#pragma once

#include "app/untrapped_error.h"

#include <windows.h>

#include <vector>

namespace tarvex {

class RecordingExit final : public ProgramExit {
public:
    void Exit(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

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

#include "win32/win32_event_pump.h"

namespace tarvex {

void DispatchWindowMessage(HWND window, MSG& message) {
    // A plain letter is typing, not an access key: the dialog manager would
    // press the button whose caption underlines it ("d" deleting every ticked
    // row). Alt with a letter comes as WM_SYSCHAR and still presses it.
    const bool plainCharacter = message.message == WM_CHAR;
    if (window != nullptr && !plainCharacter && IsDialogMessageW(window, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32EventPump::DoEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchWindowMessage(window_, message);
    }
}

}  // namespace tarvex

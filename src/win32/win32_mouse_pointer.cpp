#include "win32/win32_mouse_pointer.h"

#include <windows.h>

namespace tarvex {

void Win32MousePointer::Set(int pointer) {
    pointer_ = pointer;
    SetCursor(LoadCursorW(nullptr, pointer == kHourglassPointer ? IDC_WAIT : IDC_ARROW));
}

bool Win32MousePointer::ApplyCursor() const {
    if (pointer_ != kHourglassPointer) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

}  // namespace tarvex

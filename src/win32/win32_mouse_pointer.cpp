#include "win32/win32_mouse_pointer.h"

namespace tarvex {

HCURSOR Win32MousePointer::Cursor(int pointer) const {
    HCURSOR& cursor = pointer == kHourglassPointer ? hourglass_ : arrow_;
    if (cursor == nullptr) cursor = LoadCursorW(nullptr, pointer == kHourglassPointer ? IDC_WAIT : IDC_ARROW);
    return cursor;
}

void Win32MousePointer::Set(int pointer) {
    pointer_ = pointer;
    SetCursor(Cursor(pointer));
}

bool Win32MousePointer::ApplyCursor() const {
    if (pointer_ != kHourglassPointer) return false;
    SetCursor(Cursor(kHourglassPointer));
    return true;
}

}  // namespace tarvex

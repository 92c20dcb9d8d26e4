#pragma once

#include "export/mouse_pointer.h"

#include <windows.h>

namespace tarvex {

// The program's pointer: the hourglass or the arrow. The window asks it which
// cursor to show, so the hourglass stays while no messages are handled.
class Win32MousePointer final : public MousePointer {
public:
    int Current() const override { return pointer_; }
    void Set(int pointer) override;
    // Shows the program's cursor; true when it is not the window's default.
    bool ApplyCursor() const;

private:
    // Shared system cursors, loaded once: each load asks the display settings again.
    HCURSOR Cursor(int pointer) const;

    int pointer_ = kDefaultPointer;
    mutable HCURSOR arrow_ = nullptr;
    mutable HCURSOR hourglass_ = nullptr;
};

}  // namespace tarvex

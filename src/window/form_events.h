#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// The mouse buttons as the list's MouseUp event names them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// The main window's events, one member each; the Win32 window only forwards them.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void Load(const Utf8Text& executableFolder) = 0;
    virtual void Resize() = 0;
    virtual void cmdReadClick() = 0;
    virtual void comDelClick() = 0;
    virtual void cmdCopyClick() = 0;
    virtual void LV1ColumnClick(int column) = 0;
    virtual void LV1MouseUp(int button) = 0;
    // The user asks to close the window: true when it may close now.
    virtual bool QueryUnload() = 0;
};

}  // namespace tarvex

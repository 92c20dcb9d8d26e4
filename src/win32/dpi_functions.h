#pragma once

#include <windows.h>

namespace tarvex {

// The per-monitor DPI calls exist from Windows 10 1607 on; importing them
// would keep the program from starting on older systems. They are looked up
// in user32 at run time, and where they are missing the system DPI serves.
class DpiFunctions {
public:
    using Lookup = FARPROC (*)(const char* name);

    // From user32, which every window program has loaded already.
    DpiFunctions();
    // From the given lookup; one that finds nothing stands for an old system.
    explicit DpiFunctions(Lookup lookup);

    unsigned ForWindow(HWND window) const;
    bool AdjustWindowRect(RECT& rect, DWORD style, unsigned dpi) const;
    bool NonClientMetrics(NONCLIENTMETRICSW& metrics, unsigned dpi) const;

private:
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

    GetDpiForWindowCall getDpiForWindow_ = nullptr;
    AdjustWindowRectExForDpiCall adjustWindowRectExForDpi_ = nullptr;
    SystemParametersInfoForDpiCall systemParametersInfoForDpi_ = nullptr;
};

}  // namespace tarvex

#include "win32/dpi_functions.h"

namespace tarvex {

namespace {

FARPROC FromUser32(const char* name) { return GetProcAddress(GetModuleHandleW(L"user32.dll"), name); }

template <typename Call>
Call Find(DpiFunctions::Lookup lookup, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(lookup(name)));
}

}  // namespace

DpiFunctions::DpiFunctions() : DpiFunctions(&FromUser32) {}

DpiFunctions::DpiFunctions(Lookup lookup)
    : getDpiForWindow_(Find<GetDpiForWindowCall>(lookup, "GetDpiForWindow")),
      adjustWindowRectExForDpi_(Find<AdjustWindowRectExForDpiCall>(lookup, "AdjustWindowRectExForDpi")),
      systemParametersInfoForDpi_(Find<SystemParametersInfoForDpiCall>(lookup, "SystemParametersInfoForDpi")) {}

unsigned DpiFunctions::ForWindow(HWND window) const {
    if (getDpiForWindow_ != nullptr) return getDpiForWindow_(window);
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// Without the per-DPI calls the system DPI is the only one, and the plain calls measure at it.
bool DpiFunctions::AdjustWindowRect(RECT& rect, DWORD style, unsigned dpi) const {
    if (adjustWindowRectExForDpi_ != nullptr) return adjustWindowRectExForDpi_(&rect, style, FALSE, 0, dpi) != FALSE;
    return AdjustWindowRectEx(&rect, style, FALSE, 0) != FALSE;
}

bool DpiFunctions::NonClientMetrics(NONCLIENTMETRICSW& metrics, unsigned dpi) const {
    if (systemParametersInfoForDpi_ != nullptr) {
        return systemParametersInfoForDpi_(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) != FALSE;
    }
    return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE;
}

}  // namespace tarvex

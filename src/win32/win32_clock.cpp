#include "win32/win32_clock.h"

#include <windows.h>

namespace tarvex {

LocalTime Win32Clock::LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tarvex

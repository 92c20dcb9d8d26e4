#include "win32/win32_clock.h"

#include <windows.h>

namespace tarvex {

std::uint64_t Win32Clock::UtcNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

LocalTime Win32Clock::LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tarvex

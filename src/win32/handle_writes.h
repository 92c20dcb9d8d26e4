#pragma once

#include <windows.h>

#include <cstddef>

namespace tarvex {

// Consoles before Windows 8 refuse a write of more than about 64 KB.
inline constexpr std::size_t kLargestConsoleWrite = 8192;

// Every byte through WriteFile; ERROR_SUCCESS, or the error of the write
// that failed or took nothing.
DWORD WriteToFile(HANDLE file, const char* bytes, std::size_t count);

// Every character through WriteConsoleW, at most kLargestConsoleWrite at a
// time; ERROR_SUCCESS, or the error of the write that failed or took nothing.
DWORD WriteToConsole(HANDLE console, const wchar_t* text, std::size_t count);

}  // namespace tarvex

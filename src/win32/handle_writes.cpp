#include "win32/handle_writes.h"

#include "util/write_all.h"
#include "win32/platform_error.h"

#include <limits>

namespace tarvex {

// A write that failed without a word, or took nothing, is still a failure.
DWORD WriteToFile(HANDLE file, const char* bytes, std::size_t count) {
    SetLastError(ERROR_SUCCESS);
    const bool done = WriteAll(bytes, count, std::numeric_limits<DWORD>::max(),
                               [&](const char* piece, std::size_t size, std::size_t& written) {
                                   DWORD took = 0;
                                   const bool ok = WriteFile(file, piece, static_cast<DWORD>(size), &took, nullptr);
                                   written = took;
                                   return ok != FALSE;
                               });
    return done ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
}

DWORD WriteToConsole(HANDLE console, const wchar_t* text, std::size_t count) {
    SetLastError(ERROR_SUCCESS);
    const bool done = WriteAll(text, count, kLargestConsoleWrite,
                               [&](const wchar_t* piece, std::size_t size, std::size_t& written) {
                                   // A character in two halves would print as two stand-ins.
                                   if (size > 1 && IS_HIGH_SURROGATE(piece[size - 1])) --size;
                                   DWORD took = 0;
                                   const bool ok =
                                       WriteConsoleW(console, piece, static_cast<DWORD>(size), &took, nullptr);
                                   written = took;
                                   return ok != FALSE;
                               });
    return done ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
}

}  // namespace tarvex

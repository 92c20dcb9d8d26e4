#include "platform/win32_console_output.h"

#include "platform/wide_text.h"

#include <algorithm>
#include <limits>
#include <string>

namespace tarvex {

namespace {

void Write(DWORD which, const Utf8Text& text) {
    HANDLE stream = GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0;
    if (GetConsoleMode(stream, &mode)) {
        std::wstring wide = Utf8ToWide(text);
        DWORD written = 0;
        WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, std::numeric_limits<DWORD>::max()));
        if (!WriteFile(stream, next, chunk, &written, nullptr) || written == 0) return;
        next += written;
        left -= written;
    }
}

}  // namespace

void Win32ConsoleOutput::Out(const Utf8Text& text) { Write(STD_OUTPUT_HANDLE, text); }
void Win32ConsoleOutput::Err(const Utf8Text& text) { Write(STD_ERROR_HANDLE, text); }

}  // namespace tarvex

#include "win32/win32_console_output.h"

#include "win32/handle_writes.h"
#include "win32/platform_error.h"
#include "win32/wide_text.h"

#include <string>

namespace tarvex {

namespace {

DWORD Write(DWORD which, const Utf8Text& text) {
    HANDLE stream = GetStdHandle(which);
    if (stream == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_INVALID_HANDLE);
    // A program started without that stream has nowhere to write and loses nothing.
    if (stream == nullptr || text.empty()) return ERROR_SUCCESS;
    DWORD mode = 0;
    if (GetConsoleMode(stream, &mode)) {
        const std::wstring wide = Utf8ToWide(text);
        return WriteToConsole(stream, wide.data(), wide.size());
    }
    return WriteToFile(stream, text.data(), text.size());
}

}  // namespace

OutputWrite Win32ConsoleOutput::Out(const Utf8Text& text) {
    const DWORD error = Write(STD_OUTPUT_HANDLE, text);
    if (error == ERROR_SUCCESS) return {};
    if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED) {
        return {WriteResult::ReaderGone, error, {}};
    }
    return {WriteResult::Failed, error, SystemErrorText(error)};
}

void Win32ConsoleOutput::Err(const Utf8Text& text) { Write(STD_ERROR_HANDLE, text); }

}  // namespace tarvex

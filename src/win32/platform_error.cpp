#include "win32/platform_error.h"

#include "win32/wide_text.h"
#include "util/app_error.h"

#include <windows.h>

namespace tarvex {

namespace {

// E_FAIL as the signed number a failed control method reports.
constexpr long kGeneralFailure = static_cast<long>(0x80004005);

}  // namespace

std::string SystemErrorText(unsigned long number) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        number, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "Unknown error";
    return WideToUtf8(text);
}

unsigned long LastErrorOr(unsigned long fallback) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

void ThrowWindowFailure(const char* failure) {
    DWORD lastError = GetLastError();
    const std::string what = std::string(failure) + ".";
    if (lastError != ERROR_SUCCESS) {
        throw AppError(static_cast<long>(lastError), what + " " + SystemErrorText(lastError));
    }
    throw AppError(kGeneralFailure, what);
}

}  // namespace tarvex

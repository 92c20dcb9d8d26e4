#include "win32/ansi_code_page.h"

#include <windows.h>

#include <string>

namespace tarvex {

bool FitsAnsiCodePage(const wchar_t* text, std::size_t length) {
    if (length == 0) return true;
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;  // takes neither flag nor default-character report
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int wide = static_cast<int>(length);
    // No code page needs more than four bytes for one UTF-16 unit.
    std::string ansi(4 * length, '\0');
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(codePage, flags, text, wide, ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                    utf8 ? nullptr : &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    std::wstring back(length, L'\0');
    int chars = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), bytes, back.data(), wide);
    return chars == wide && back.compare(0, length, text, length) == 0;
}

}  // namespace tarvex

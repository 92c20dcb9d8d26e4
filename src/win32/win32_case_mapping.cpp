#include "win32/win32_case_mapping.h"

#include "win32/wide_text.h"

#include <windows.h>

#include <string>

namespace tarvex {

Utf8Text Win32CaseMapping::Upper(const Utf8Text& text) const {
    std::wstring wide = Utf8ToWide(text);
    if (wide.empty()) return text;
    const int length = static_cast<int>(wide.size());
    std::wstring upper(wide.size(), L'\0');
    // Upper case keeps the length: one UTF-16 unit for one.
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), length, upper.data(), length, nullptr,
                      nullptr, 0) != length) {
        return text;
    }
    return WideToUtf8(upper);
}

}  // namespace tarvex

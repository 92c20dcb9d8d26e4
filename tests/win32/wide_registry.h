#pragma once

#include <windows.h>

#include <string>

namespace tarvex {

// Seeds what the ANSI calls cannot: names and text outside the code page.
// Text is stored with its terminating NUL, as the system stores it.
inline LSTATUS SetWideValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                            const std::wstring& text) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

}  // namespace tarvex

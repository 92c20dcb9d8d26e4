#pragma once

#include <windows.h>

#include <string>

namespace tarvex {

// Seeds what the ANSI calls cannot: names and data as the wide calls write them.
inline LSTATUS SetWideBytes(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                            const std::string& bytes) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    // RegSetValueExW counts a NUL that text data leaves out when one follows
    // it in memory, as NT does: a unit that is no NUL keeps the count as given.
    const std::string followed = bytes + "..";
    status = RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(followed.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return status;
}

// Text is stored with its terminating NUL, as the system stores it.
inline LSTATUS SetWideValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                            const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const char*>(text.c_str());
    return SetWideBytes(root, path, name, type, std::string(bytes, (text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace tarvex

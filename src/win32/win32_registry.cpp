#include "win32/win32_registry.h"

#include "win32/ansi_code_page.h"
#include "win32/wide_text.h"
#include "win32/win32_hkey.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace tarvex {

namespace {

constexpr DWORD kLongestKeyName = 255;
constexpr DWORD kLongestValueName = 16383;
constexpr DWORD kFirstDataSize = 4096;
// A connection's name fits: 255 characters and the NUL.
constexpr DWORD kFirstTextSize = 512;

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 units are copied one for one");

std::wstring ToWchar(const WideText& text) { return std::wstring(text.begin(), text.end()); }

// A name the call wrote into its own buffer, copied into the caller's with its NUL.
void CopyName(const wchar_t* from, DWORD length, char16_t* to) {
    std::copy(from, from + length + 1, to);
}

}  // namespace

Status Win32Registry::RegOpenKeyExA(KeyHandle key, const std::string& subKey, std::uint32_t options,
                                    std::uint32_t access, KeyHandle& opened) {
    HKEY result = nullptr;
    LSTATUS status = ::RegOpenKeyExA(ToHkey(key), subKey.c_str(), options, access, &result);
    if (status == ERROR_SUCCESS) opened = FromHkey(result);
    return status;
}

Status Win32Registry::RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) {
    return ::RegEnumKeyA(ToHkey(key), index, name, nameSize);
}

Status Win32Registry::RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                       std::uint8_t* data, std::uint32_t& dataSize) {
    DWORD valueType = 0;
    DWORD size = dataSize;
    LSTATUS status = ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType, data, &size);
    type = valueType;
    dataSize = size;
    return status;
}

Status Win32Registry::RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                                    std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) {
    DWORD length = nameLength;
    DWORD valueType = 0;
    DWORD size = dataSize;
    LSTATUS status = ::RegEnumValueA(ToHkey(key), index, name, &length, nullptr, &valueType, data, &size);
    nameLength = length;
    type = valueType;
    dataSize = size;
    return status;
}

Status Win32Registry::RegCloseKey(KeyHandle key) { return ::RegCloseKey(ToHkey(key)); }

Status Win32Registry::SHDeleteKeyA(KeyHandle key, const std::string& subKey) {
    return static_cast<Status>(::SHDeleteKeyA(ToHkey(key), subKey.c_str()));
}

Status Win32Registry::RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                                     const std::string& bytes) {
    return static_cast<Status>(::RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type,
                                                reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
}

Status Win32Registry::RegDeleteValueA(KeyHandle key, const std::string& valueName) {
    return static_cast<Status>(::RegDeleteValueA(ToHkey(key), valueName.c_str()));
}

Status Win32Registry::RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options,
                                    std::uint32_t access, KeyHandle& opened) {
    HKEY result = nullptr;
    LSTATUS status = ::RegOpenKeyExW(ToHkey(key), ToWchar(subKey).c_str(), options, access, &result);
    if (status == ERROR_SUCCESS) opened = FromHkey(result);
    return status;
}

Status Win32Registry::RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) {
    // No key name is longer: a larger buffer answers no differently.
    wchar_t own[kLongestKeyName + 1];
    DWORD length = std::min<DWORD>(nameLength, kLongestKeyName + 1);
    LSTATUS status = ::RegEnumKeyExW(ToHkey(key), index, own, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return status;
    CopyName(own, length, name);
    nameLength = length;
    return status;
}

Status Win32Registry::RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                                    std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) {
    // No value name is longer; on the stack, as in ValueAnsiFit.
    wchar_t own[kLongestValueName + 1];
    DWORD length = std::min<DWORD>(nameLength, kLongestValueName + 1);
    DWORD valueType = REG_NONE;
    DWORD size = dataSize;
    LSTATUS status = ::RegEnumValueW(ToHkey(key), index, own, &length, nullptr, &valueType, data, &size);
    type = valueType;
    dataSize = size;
    if (status != ERROR_SUCCESS) return status;
    CopyName(own, length, name);
    nameLength = length;
    return status;
}

AnsiFit Win32Registry::SubkeyAnsiFit(KeyHandle key, std::uint32_t index) {
    wchar_t name[kLongestKeyName + 1];
    DWORD length = kLongestKeyName + 1;
    if (::RegEnumKeyExW(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return AnsiFit::NameLost;  // cannot vouch for it
    }
    return FitsAnsiCodePage(name, length) ? AnsiFit::Exact : AnsiFit::NameLost;
}

AnsiFit Win32Registry::ValueAnsiFit(KeyHandle key, std::uint32_t index) {
    // One read for most values: a name buffer for the longest name, a data
    // buffer for ordinary data, grown when the data is longer (or grew). The
    // name's 32 KB on the heap, taken and freed for every value, had the heap
    // commit and release its pages each time.
    wchar_t name[kLongestValueName + 1];
    std::vector<BYTE> data(kFirstDataSize);
    DWORD type = REG_NONE;
    DWORD length = 0;
    DWORD size = 0;
    for (;;) {
        length = kLongestValueName + 1;
        size = static_cast<DWORD>(data.size());
        LSTATUS status = ::RegEnumValueW(ToHkey(key), index, name, &length, nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) break;
        if (status != ERROR_MORE_DATA || size <= data.size()) return AnsiFit::NameLost;  // cannot vouch for it
        data.resize(size);
    }
    if (!FitsAnsiCodePage(name, length)) return AnsiFit::NameLost;
    if (!IsTextType(type)) return AnsiFit::Exact;
    // An odd byte cannot be half a character: the A call drops it.
    if (size % sizeof(wchar_t) != 0) return AnsiFit::DataLost;
    const auto* text = reinterpret_cast<const wchar_t*>(data.data());
    return FitsAnsiCodePage(text, size / sizeof(wchar_t)) ? AnsiFit::Exact : AnsiFit::DataLost;
}

Status Win32Registry::QueryUnicodeText(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                       std::string& text) {
    text.clear();
    const std::wstring name(valueName.begin(), valueName.end());  // the program's value names are ASCII
    std::vector<BYTE> data(kFirstTextSize);
    DWORD valueType = REG_NONE;
    LSTATUS status;
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        status = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &valueType, data.data(), &size);
        if (status == ERROR_MORE_DATA && size > data.size()) {
            data.resize(size);
            continue;
        }
        data.resize(status == ERROR_SUCCESS ? size : 0);
        break;
    }
    type = valueType;
    if (status != ERROR_SUCCESS || !IsTextType(valueType)) return status;
    std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
    if (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    text = WideToUtf8(wide);
    return status;
}

}  // namespace tarvex

#include "registry/win32_registry.h"

#include <windows.h>
#include <shlwapi.h>

namespace tarvex {

namespace {

// Predefined roots are 32-bit values that 64-bit Windows sign-extends into pointers.
HKEY ToHkey(KeyHandle key) {
    if (key >= kClassesRoot && key <= 0x8000000F) {
        auto value = static_cast<LONG>(static_cast<std::uint32_t>(key));
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(value));
    }
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

KeyHandle FromHkey(HKEY key) { return static_cast<KeyHandle>(reinterpret_cast<ULONG_PTR>(key)); }

class OwnedHkey {
public:
    OwnedHkey() = default;
    OwnedHkey(const OwnedHkey&) = delete;
    OwnedHkey& operator=(const OwnedHkey&) = delete;
    ~OwnedHkey() {
        if (key_) ::RegCloseKey(key_);
    }
    HKEY* put() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

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

Status Win32RegistryWriter::CreateKey(RootKey root, const std::string& path) {
    OwnedHkey key;
    return ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
}

Status Win32RegistryWriter::SetValue(RootKey root, const std::string& path, const std::string& name,
                                     std::uint32_t type, const std::string& bytes) {
    OwnedHkey key;
    LSTATUS status =
        ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

}  // namespace tarvex

#include "support/win32_registry_writer.h"

#include "util/unique_handle.h"
#include "win32/win32_hkey.h"

#include <windows.h>

namespace tarvex {

namespace {

struct HkeyCloser {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static constexpr LSTATUS kNothingHeld = ERROR_SUCCESS;
    LSTATUS operator()(Handle key) const { return ::RegCloseKey(key); }
};

using UniqueHkey = UniqueHandle<HkeyCloser>;

LSTATUS CreateForWriting(RootKey root, const std::string& path, UniqueHkey& key) {
    return ::RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
}

}  // namespace

Status Win32RegistryWriter::CreateKey(RootKey root, const std::string& path) {
    UniqueHkey key;
    return CreateForWriting(root, path, key);
}

Status Win32RegistryWriter::SetValue(RootKey root, const std::string& path, const std::string& name,
                                     std::uint32_t type, const std::string& bytes) {
    UniqueHkey key;
    if (LSTATUS status = CreateForWriting(root, path, key); status != ERROR_SUCCESS) return status;
    return ::RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

}  // namespace tarvex

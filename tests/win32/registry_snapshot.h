#pragma once

#include "registry/registry_api.h"
#include "registry/unique_key.h"
#include "support/key_names.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tarvex {

struct SnapshotValue {
    std::uint32_t type;
    std::string bytes;
    bool operator==(const SnapshotValue&) const = default;
};

// Every key of a subtree (path below the root, case folded) with its
// values by folded name, read raw so that nothing of the export is used.
using RegistrySnapshot = std::map<std::string, std::map<std::string, SnapshotValue>>;

inline void TakeSnapshot(RegistryApi& registry, RootKey root, const std::string& path, RegistrySnapshot& snapshot) {
    UniqueKey key(registry);
    if (key.Open(root, path, kKeyRead) != kSuccess) return;
    auto& values = snapshot[FoldCase(path)];
    std::vector<char> name(2 * 16384);
    std::vector<std::uint8_t> data(1 << 16);
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = static_cast<std::uint32_t>(name.size());
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = 0;
        Status status = registry.RegEnumValueA(key.get(), index, name.data(), nameLength, type, data.data(), size);
        if (status == kMoreData) {
            data.resize(size);
            nameLength = static_cast<std::uint32_t>(name.size());
            status = registry.RegEnumValueA(key.get(), index, name.data(), nameLength, type, data.data(), size);
        }
        if (status != kSuccess) break;
        values[FoldCase(std::string(name.data(), nameLength))] = {type, std::string(data.begin(), data.begin() + size)};
    }
    std::vector<std::string> children;
    char child[512];
    for (std::uint32_t index = 0; registry.RegEnumKeyA(key.get(), index, child, sizeof child) == kSuccess; ++index) {
        children.emplace_back(child);
    }
    for (const std::string& name : children) TakeSnapshot(registry, root, path + "\\" + name, snapshot);
}

inline RegistrySnapshot Snapshot(RegistryApi& registry, RootKey root, const std::string& path) {
    RegistrySnapshot snapshot;
    TakeSnapshot(registry, root, path, snapshot);
    return snapshot;
}

// Every key of a subtree (path below the root, as stored) with its values
// by name as stored, read through the wide calls of the platform itself.
using WideSnapshot = std::map<std::wstring, std::map<std::wstring, SnapshotValue>>;

inline void TakeWideSnapshot(HKEY root, const std::wstring& top, const std::wstring& below, WideSnapshot& snapshot) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, (top + below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    auto& values = snapshot[below];
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LSTATUS status = RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {
            data.resize(size);
            length = static_cast<DWORD>(name.size());
            status = RegEnumValueW(key, index, name.data(), &length, nullptr, &type, data.data(), &size);
        }
        if (status != ERROR_SUCCESS) break;
        values[std::wstring(name.data(), length)] = {type, std::string(data.begin(), data.begin() + size)};
    }
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name.data(), length);
    }
    RegCloseKey(key);
    for (const std::wstring& child : children) TakeWideSnapshot(root, top, below + L"\\" + child, snapshot);
}

inline WideSnapshot WideSnapshotOf(HKEY root, const std::wstring& path) {
    WideSnapshot snapshot;
    TakeWideSnapshot(root, path, L"", snapshot);
    return snapshot;
}

}  // namespace tarvex

#pragma once

#include "registry/registry_api.h"
#include "registry/unique_key.h"
#include "support/key_names.h"

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

}  // namespace tarvex

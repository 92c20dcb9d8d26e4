#pragma once

#include "export/backup_error.h"
#include "registry/unique_key.h"

#include <string>

namespace tarvex {

// The key to list: root itself for an empty path, else root\keyPath opened
// for reading into opened. Zero when it cannot be had; only a key that
// exists but cannot be read sets BackupError, since a missing one loses nothing.
inline KeyHandle OpenForListing(UniqueKey& opened, KeyHandle root, const std::string& keyPath) {
    if (keyPath.empty()) return root;
    Status status = opened.Open(root, keyPath, kKeyRead);
    if (status == kSuccess) return opened.get();
    if (status != kFileNotFound) BackupError = true;
    return 0;
}

}  // namespace tarvex

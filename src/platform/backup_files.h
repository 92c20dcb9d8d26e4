#pragma once

#include "export/backup_files.h"

namespace tarvex {

// Backup files on disk through the Win32 file calls.
class Win32BackupFiles final : public BackupFiles {
public:
    std::optional<std::string> ReadWhole(const std::string& path) override;
    std::unique_ptr<OutputFile> Open(const std::string& path, bool append) override;
};

}  // namespace tarvex

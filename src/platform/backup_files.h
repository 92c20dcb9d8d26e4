#pragma once

#include "export/backup_files.h"

namespace tarvex {

// Backup files on disk through the Win32 file calls.
class Win32BackupFiles final : public BackupFiles {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> Open(const std::string& path, bool append) override;
    bool Replace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
};

}  // namespace tarvex

#pragma once

#include "export/backup_files.h"

namespace tarvex {

// Backup files on disk through the Win32 file calls.
class Win32BackupFiles final : public BackupFiles {
public:
    std::unique_ptr<OutputFile> Open(const Utf8Text& path, bool append) override;
    bool Replace(const Utf8Text& from, const Utf8Text& to) override;
    RenameResult Rename(const Utf8Text& from, const Utf8Text& to) override;
    PathKind KindOf(const Utf8Text& path) override;
    void Remove(const Utf8Text& path) override;
    std::optional<std::uint64_t> SizeOf(const Utf8Text& path) override;
    bool CutBack(const Utf8Text& path, std::uint64_t length) override;
    Utf8Text FullPathOf(const Utf8Text& path) override;
};

}  // namespace tarvex

#pragma once

#include "export/backup_files.h"

#include <map>
#include <memory>
#include <string>

namespace tarvex {

// Files held in memory and never written anywhere: the dry run makes its
// backups here, with the same writers as the run, to tell what they would hold.
class ScratchFiles final : public BackupFiles {
public:
    std::unique_ptr<OutputFile> Open(const Utf8Text& path, bool append) override;
    bool Replace(const Utf8Text& from, const Utf8Text& to) override;
    RenameResult Rename(const Utf8Text& from, const Utf8Text& to) override;
    PathKind KindOf(const Utf8Text& path) override { return files_.count(path) ? PathKind::File : PathKind::Missing; }
    void Remove(const Utf8Text& path) override { files_.erase(path); }
    std::optional<std::uint64_t> SizeOf(const Utf8Text& path) override;
    bool CutBack(const Utf8Text& path, std::uint64_t length) override;
    Utf8Text FullPathOf(const Utf8Text& path) override { return path; }

private:
    std::map<Utf8Text, std::string> files_;
};

}  // namespace tarvex

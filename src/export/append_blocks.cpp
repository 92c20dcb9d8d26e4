#include "export/append_blocks.h"

#include "export/backup_error.h"
#include "export/reg_lines.h"

namespace tarvex {

bool AppendBlocks(BackupFiles& files, const Utf8Text& path, const std::string& blocks) {
    std::unique_ptr<OutputFile> file = files.Open(path, true);
    // An elevated write through a name another user planted could reach any file.
    if (!file || file->IsLinked()) {
        BackupError = true;
        return false;
    }
    const bool marked = FileContains(*file, kRegeditMark);
    const bool written = file->Write((marked ? "" : kRegeditHeader) + blocks);
    const bool closed = file->Close();
    if (!written || !closed) BackupError = true;
    return written && closed;
}

}  // namespace tarvex

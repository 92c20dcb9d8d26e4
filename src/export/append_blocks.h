#pragma once

#include "export/backup_files.h"
#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// Appends REGEDIT4 key blocks to the file at path (made when missing), with
// the header in front unless the file holds its mark already; never through
// a link. False, with BackupError set, when the file does not take them all.
bool AppendBlocks(BackupFiles& files, const Utf8Text& path, const std::string& blocks);

}  // namespace tarvex

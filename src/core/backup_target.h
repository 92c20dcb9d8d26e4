#pragma once

#include "core/backup_mode.h"
#include "export/backup_files.h"
#include "util/encoded_text.h"

namespace tarvex {

// The backups a deletion will write, checked before anything is deleted.
// backupFolder ends with its backslash, as MakeAppFolder gives it.

// What the folder is: a folder, missing, or something else (PathKind::File).
PathKind BackupFolderKind(BackupFiles& files, const Utf8Text& backupFolder);

// The file the mode writes first: SmallBackup.reg, or the full backup's draft.
Utf8Text FirstBackupFile(const Utf8Text& backupFolder, BackupMode mode);

// Whether FirstBackupFile opens for writing. A file is made and removed only
// where none was, so an earlier backup is neither changed nor removed.
// With no backup there is nothing to write, and it is true.
bool CanWriteBackup(BackupFiles& files, const Utf8Text& backupFolder, BackupMode mode);

}  // namespace tarvex

#pragma once

namespace tarvex {

// True when the last backup may not restore everything it covered. Only the
// export sets it; the deletion clears it before each backup and reads it after.
extern bool BackupError;

}  // namespace tarvex

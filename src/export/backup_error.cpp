#include "export/backup_error.h"

namespace tarvex {

bool BackupError = false;

}  // namespace tarvex

#include "core/backup_warning.h"

#include "export/backup_error.h"

namespace tarvex {

BackupAnswer AskAboutBackup(BackupWarning& warning, const BackupProblem& problem) {
    if (!BackupError) return {};
    return {warning.GoOnWithoutFullBackup(problem), !problem.written || !problem.complete || !problem.lasting};
}

}  // namespace tarvex

#include "console/answer_given_in_advance.h"

namespace tarvex {

bool AnswerGivenInAdvance::GoOnWithoutFullBackup(const BackupProblem& problem) {
    if (!problem.written) {
        messages_.Say("tarvex: could not write the backup file " + problem.file);
        stopReason_ = "a backup could not be written";
        return false;
    }
    // Exit 0 promises a backup no later run removes; the draft's name is not one.
    if (!problem.lasting) {
        if (force_) {
            messages_.Say("tarvex: warning: the full backup is only " + problem.file +
                          ", which the next full backup removes; going on as --force asks");
            return true;
        }
        messages_.Say("tarvex: the full backup could be kept only as " + problem.file +
                      ", which the next full backup removes");
        stopReason_ = "the full backup could not be kept (--force goes on without it)";
        return false;
    }
    if (problem.complete) return true;
    if (force_) {
        messages_.Say("tarvex: warning: the backup in " + problem.file + " is incomplete; going on as --force asks");
        return true;
    }
    messages_.Say("tarvex: the backup in " + problem.file + " is incomplete");
    stopReason_ = "a backup was incomplete (--force goes on without it)";
    return false;
}

void AnswerGivenInAdvance::KeptAside(const BackupProblem& problem) {
    messages_.Say("tarvex: warning: " + std::string(kLargeBackupFile) +
                  " could not be replaced; this run's full backup is " + problem.file +
                  (problem.lasting ? "" : "; move it somewhere safe before the next full backup"));
}

}  // namespace tarvex

#pragma once

#include "console/console_messages.h"
#include "core/backup_warning.h"

#include <string>

namespace tarvex {

// Without a person to ask, --force is the answer given in advance, and only
// for a backup that was written but is not whole: a file that cannot be
// written at all always stops.
class AnswerGivenInAdvance final : public BackupWarning {
public:
    AnswerGivenInAdvance(bool force, ConsoleMessages& messages) : force_(force), messages_(messages) {}
    bool GoOnWithoutFullBackup(const BackupProblem& problem) override;
    void KeptAside(const BackupProblem& problem) override;
    // Why the run stopped, when it did.
    const std::string& stopReason() const { return stopReason_; }

private:
    bool force_;
    ConsoleMessages& messages_;
    std::string stopReason_;
};

}  // namespace tarvex

// Every case starts with BackupError cleared, whatever the case before it left.
#include "export/backup_error.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

class BackupErrorCleared final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { BackupError = false; }
};

const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new BackupErrorCleared);
    return true;
}();

}  // namespace
}  // namespace tarvex

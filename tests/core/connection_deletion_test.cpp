#include "core/connection_deletion.h"
#include "export/backup_error.h"
#include "support/fake_devices.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kFolder[] = "C:\\Tools\\";
const std::string kKey = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{1}";
const std::string kLarge = kFolder + std::string(kLargeBackupFile);

class RecordingWarning final : public BackupWarning {
public:
    bool GoOnWithoutFullBackup(const BackupProblem& problem) override {
        problems.push_back(problem);
        return true;
    }
    std::vector<BackupProblem> problems;
};

struct KeptCase {
    const char* what;
    std::vector<std::string> taken;  // names already beside the old backup
    bool renameFails;
    std::string keptAs;
};

class KeptFullBackup : public ::testing::TestWithParam<KeptCase> {};

// A complete full backup that cannot replace the last one gets a name the
// next full backup leaves alone; only when even that fails does it stay the draft.
TEST_P(KeptFullBackup, TakesTheFirstFreeDatedName) {
    MemoryRegistry registry;
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kKey + "\\Connection", "Name", kRegSz, "one\0"s));
    FakeDevices devices;
    TestServices test(registry, devices);
    MemoryFiles& files = test.files;
    files.AddFolder(kFolder);
    files.SetContent(kLarge, "REGEDIT4\r\n\r\n");
    files.SetReadOnly(kLarge);
    for (const std::string& name : GetParam().taken) files.SetContent(kFolder + name, "earlier");
    if (GetParam().renameFails) files.FailRenames();
    RecordingWarning warning;

    DeletionReport report = DeleteConnectionKeys(test.services, {kKey}, BackupMode::Full, warning, kFolder);

    ASSERT_EQ(1u, warning.problems.size());
    const BackupProblem& problem = warning.problems[0];
    EXPECT_TRUE(problem.keptAside && problem.written && problem.complete);
    EXPECT_EQ(kFolder + GetParam().keptAs, problem.file);
    EXPECT_NE(std::string::npos, files.Content(problem.file).value_or("").find(kKey + "]"));
    for (const std::string& name : GetParam().taken) EXPECT_EQ("earlier", files.Content(kFolder + name));
    ASSERT_EQ(1u, report.keys.size());
    EXPECT_FALSE(report.keys[0].backupIncomplete) << "the kept backup is whole";
}

INSTANTIATE_TEST_SUITE_P(
    Names, KeptFullBackup,
    ::testing::Values(KeptCase{"Free", {}, false, "LargeBackup-20261208-070509.reg"},
                      KeptCase{"TakenTwice",
                               {"LargeBackup-20261208-070509.reg", "LargeBackup-20261208-070509-2.reg"},
                               false,
                               "LargeBackup-20261208-070509-3.reg"},
                      KeptCase{"RenameFails", {}, true, "LargeBackup.reg.tmp"}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

#include "export_fixture.h"

#include <functional>

using namespace std::string_literals;

namespace tarvex {
namespace {

constexpr char kHeader[] = "REGEDIT4\r\n\r\n";
constexpr char kTop[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n\"a\"=dword:00000001\r\n\"b\"=dword:00000002\r\n\r\n";
constexpr char kTopWithoutB[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n\"a\"=dword:00000001\r\n\r\n";
constexpr char kS1[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\S1]\r\n\"x\"=dword:00000003\r\n\r\n";
constexpr char kS1Unreadable[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\S1]\r\n\r\n";
constexpr char kS2[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\S2]\r\n\"y\"=dword:00000004\r\n\r\n";

struct FailureCase {
    const char* what;
    std::function<void(MemoryRegistry&, MemoryFiles&)> arrange;
    std::string file;
    std::optional<std::string> content;  // what the file holds afterwards
};

class IncompleteBackup : public ExportFixture, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetUp() override {
        Value("SYSTEM\\T", "a", kRegDword, "\1\0\0\0"s);
        Value("SYSTEM\\T", "b", kRegDword, "\2\0\0\0"s);
        Value("SYSTEM\\T\\S1", "x", kRegDword, "\3\0\0\0"s);
        Value("SYSTEM\\T\\S2", "y", kRegDword, "\4\0\0\0"s);
    }
};

// Whenever the file will not restore the whole tree, the user must hear of it.
TEST_P(IncompleteBackup, SetsBackupErrorAndKeepsWhatCouldBeWritten) {
    const FailureCase& c = GetParam();
    c.arrange(registry_, files_);
    Export("SYSTEM\\T", true, false, c.file);
    EXPECT_TRUE(BackupError);
    EXPECT_EQ(c.content, files_.Content(c.file));
    EXPECT_EQ(kDefaultPointer, pointer_.current);
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, IncompleteBackup,
    ::testing::Values(
        FailureCase{"ReadOnlyFile",
                    [](MemoryRegistry&, MemoryFiles& files) {
                        files.SetContent(kFile, "old");
                        files.SetReadOnly(kFile);
                    },
                    kFile, "old"},
        FailureCase{"MissingFolder", [](MemoryRegistry&, MemoryFiles&) {}, "C:\\Gone\\Backup.reg", std::nullopt},
        // The replaced file was emptied when opened; no partial block is left in it.
        FailureCase{"DiskFull", [](MemoryRegistry&, MemoryFiles& files) { files.SetFreeSpace(20); }, kFile, ""},
        FailureCase{"CloseFails", [](MemoryRegistry&, MemoryFiles& files) { files.FailNextClose(); }, kFile,
                    std::string(kHeader) + kTop + kS1 + kS2},
        FailureCase{"AccessDeniedSubkey",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.SetRights(kLocalMachine, "SYSTEM\\T\\S1", {.canRead = false});
                    },
                    kFile, std::string(kHeader) + kTop + kS1Unreadable + kS2},
        FailureCase{"ValueListingCutShort",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.InjectFault({RegistryCall::EnumValue, kAccessDenied, 1});
                    },
                    kFile, std::string(kHeader) + kTopWithoutB + kS1 + kS2},
        FailureCase{"SubkeyListingCutShort",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.InjectFault({RegistryCall::EnumKey, kAccessDenied, 1});
                    },
                    kFile, std::string(kHeader) + kTop + kS1},
        FailureCase{"ValueGrewBeforeItsReRead",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.SetValue(kLocalMachine, "SYSTEM\\T", "b", kRegBinary, std::string(5000, 'b'));
                        // a, then b's size report; b's re-read finds it longer again.
                        registry.InjectFault({RegistryCall::EnumValue, kMoreData, 2, 5010});
                    },
                    kFile, std::string(kHeader) + kTopWithoutB + kS1 + kS2},
        FailureCase{"ValueGrewBetweenSizeAndRead",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.SetValue(kLocalMachine, "SYSTEM\\T", "b", kRegBinary, std::string(5000, 'b'));
                        registry.GrowValueAfterSizeReport(kLocalMachine, "SYSTEM\\T", "b", 10, 1);
                    },
                    kFile, std::string(kHeader) + kTopWithoutB + kS1 + kS2},
        // A listed subkey that cannot be opened is part of the tree all the same.
        FailureCase{"ListedSubkeyGoneBeforeItsOpen",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.InjectFault({RegistryCall::OpenKey, kFileNotFound, 1});
                    },
                    kFile, std::string(kHeader) + kTop + kS2},
        FailureCase{"ListedSubkeyFailsToOpen",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.InjectFault({RegistryCall::OpenKey, 1450, 1});
                    },
                    kFile, std::string(kHeader) + kTop + kS1Unreadable + kS2},
        // A stand-in name would open nothing or another key, and restore as another entry.
        FailureCase{"SubkeyNameBeyondAnsi",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.MarkBeyondAnsi(kLocalMachine, "SYSTEM\\T\\S1");
                    },
                    kFile, std::string(kHeader) + kTop + kS2},
        FailureCase{"ValueNameBeyondAnsi",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.MarkBeyondAnsi(kLocalMachine, "SYSTEM\\T", "b", AnsiFit::NameLost);
                    },
                    kFile, std::string(kHeader) + kTopWithoutB + kS1 + kS2},
        // Text with stand-in characters is still the closest the file can hold.
        FailureCase{"TextBeyondAnsi",
                    [](MemoryRegistry& registry, MemoryFiles&) {
                        registry.MarkBeyondAnsi(kLocalMachine, "SYSTEM\\T", "b", AnsiFit::DataLost);
                    },
                    kFile, std::string(kHeader) + kTop + kS1 + kS2}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.what; });

class PartialAppend : public IncompleteBackup {};

// A later backup appended after a cut-off block would import into the wrong key.
TEST_F(PartialAppend, DiskFullLeavesTheFileAsItWasAndReportsIt) {
    const std::string earlier = std::string(kHeader) + kS2;
    files_.SetContent(kFile, earlier);
    files_.SetFreeSpace(100);
    Export("SYSTEM\\T", true, true);
    EXPECT_TRUE(BackupError);
    EXPECT_EQ(earlier, File());
}

TEST_F(PartialAppend, TopLevelKeyThatIsMissingLosesNothing) {
    Export("SYSTEM\\Absent", true, true);
    registry_.MarkBeyondAnsi(kLocalMachine, "SYSTEM\\T");
    Export("SYSTEM\\T", true, true);
    EXPECT_FALSE(BackupError);
    EXPECT_FALSE(files_.Content(kFile));
}

}  // namespace
}  // namespace tarvex

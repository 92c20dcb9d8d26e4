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
        FailureCase{"DiskFull", [](MemoryRegistry&, MemoryFiles& files) { files.SetFreeSpace(20); }, kFile,
                    std::string(kHeader) + std::string(kTop).substr(0, 8)},
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
                    kFile, std::string(kHeader) + kTopWithoutB + kS1 + kS2}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

#include "console/console_program.h"
#include "console/exit_codes.h"
#include "core/connection_deletion.h"
#include "support/fake_devices.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using namespace std::string_literals;

class RecordingOutput final : public ConsoleOutput {
public:
    void Out(const Utf8Text& text) override { out += text; }
    void Err(const Utf8Text& text) override { err += text; }
    std::string out;
    std::string err;
};

// Windows-1252 as far as the tests' names go: ASCII and Latin-1.
Utf8Text Latin1ToUtf8(const AnsiText& text) {
    Utf8Text utf8;
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

const std::string kSet1 = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
const std::string kCurrent = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
const std::string kSet2 = "SYSTEM\\ControlSet002\\Control\\Network\\{C}\\";
constexpr char kFolder[] = "C:\\Tools\\";

// ControlSet001 holds {1} (adapter present), {2} (no device) and {3} (device
// not present); CurrentControlSet is a link to it, as on Windows, so each
// shows twice. ControlSet002 holds {4} (no device).
class ConsoleProgram : public ::testing::Test {
protected:
    void SetUp() override {
        Connection(kSet1 + "{1}"s, "Ethernet", "PCI\\NIC\\1");
        Connection(kSet1 + "{2}"s, "Local Area Connection 2", "PCI\\GONE\\2");
        Connection(kSet1 + "{3}"s, "USB dongle", "USB\\DONGLE\\3");
        Connection(kSet2 + "{4}"s, "Caf\xE9", "PCI\\GONE\\4");
        registry.LinkKey(kLocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
        devices.present = {{"PCI\\NIC\\1", "Intel Ethernet"}};
        devices.phantoms = {{"USB\\DONGLE\\3", "ASIX USB"}};
        files.AddFolder(kFolder);
    }
    void Connection(const std::string& key, const std::string& name, const std::string& id) {
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, key + "\\Connection", "Name", kRegSz, name + '\0'));
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, key + "\\Connection", "PnpInstanceID", kRegSz, id + '\0'));
    }
    ExitCode Run(std::vector<std::string> arguments) {
        return static_cast<ExitCode>(RunConsole(arguments, {registry, devices, files, output, "C:\\Tools", &Latin1ToUtf8}));
    }
    bool Exists(const std::string& key) const { return registry.KeyExists(kLocalMachine, key); }

    MemoryRegistry registry;
    FakeDevices devices;
    MemoryFiles files;
    RecordingOutput output;
};

TEST_F(ConsoleProgram, ListsEveryRowInScanOrder) {
    EXPECT_EQ(ExitCode::Done, Run({"list"}));
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\r\n"
              "CurrentControlSet\tEthernet\tPresent\tIntel Ethernet\t" + kCurrent + "{1}\r\n"
              "CurrentControlSet\tLocal Area Connection 2\tNo device\t\t" + kCurrent + "{2}\r\n"
              "CurrentControlSet\tUSB dongle\tNot present\tASIX USB\t" + kCurrent + "{3}\r\n"
              "ControlSet001\tEthernet\tPresent\tIntel Ethernet\t" + kSet1 + "{1}\r\n"
              "ControlSet001\tLocal Area Connection 2\tNo device\t\t" + kSet1 + "{2}\r\n"
              "ControlSet001\tUSB dongle\tNot present\tASIX USB\t" + kSet1 + "{3}\r\n"
              "ControlSet002\tCaf\xC3\xA9\tNo device\t\t" + kSet2 + "{4}\r\n",
              output.out);
    EXPECT_EQ("", output.err);
}

TEST_F(ConsoleProgram, CheckCountsStaleRowsAndSaysSoInItsExitCode) {
    EXPECT_EQ(ExitCode::StaleFound, Run({"check"}));
    EXPECT_EQ("5\n", output.out);
    output.out.clear();
    EXPECT_EQ(ExitCode::Done, Run({"check", "--name", "Ether*"}));
    EXPECT_EQ("0\n", output.out);
}

TEST_F(ConsoleProgram, UsageErrorReadsNothing) {
    EXPECT_EQ(ExitCode::Usage, Run({"delete", "--stale", "--backup", "all"}));
    EXPECT_EQ(0, registry.CallCount(RegistryCall::OpenKey));
    EXPECT_EQ("", output.out);
    EXPECT_EQ(0u, output.err.find("tarvex: --backup takes selective, full or none, not all\nusage:\n"));
}

TEST_F(ConsoleProgram, WithoutWriteRightsItSaysSoBeforeListing) {
    registry.SetRights(kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network", {.canRead = true, .canWrite = false});
    EXPECT_EQ(ExitCode::NoAdminRights, Run({"list"}));
    EXPECT_EQ("", output.out);
    EXPECT_NE(std::string::npos, output.err.find("administrator rights"));
}

TEST_F(ConsoleProgram, HelpAndVersionNeedNoRegistry) {
    EXPECT_EQ(ExitCode::Done, Run({"--version"}));
    EXPECT_EQ("tarvex 1.0.0\n", output.out);
    EXPECT_EQ(ExitCode::Done, Run({"--help"}));
    EXPECT_EQ(0, registry.CallCount(RegistryCall::OpenKey));
}

// The current set's row goes first and takes the numbered set's row with it.
TEST_F(ConsoleProgram, DeleteStaleBacksUpEachKeyAndCountsLinkedRowsAsDeleted) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale"}));
    for (const std::string& key : {kSet1 + "{2}"s, kSet1 + "{3}"s, kSet2 + "{4}"s}) EXPECT_FALSE(Exists(key)) << key;
    EXPECT_TRUE(Exists(kSet1 + "{1}"s));
    EXPECT_EQ("deleted\t" + kCurrent + "{2}\ndeleted\t" + kCurrent + "{3}\ndeleted\t" + kSet1 + "{2}\ndeleted\t" +
                  kSet1 + "{3}\ndeleted\t" + kSet2 + "{4}\n",
              output.out);
    EXPECT_EQ("5 deleted, 0 failed\n", output.err);
    std::string small = files.Content(kFolder + std::string(kSmallBackupFile)).value_or("");
    EXPECT_NE(std::string::npos, small.find("[HKEY_LOCAL_MACHINE\\" + kCurrent + "{2}\\Connection]"));
    EXPECT_NE(std::string::npos, small.find("[HKEY_LOCAL_MACHINE\\" + kSet2 + "{4}\\Connection]"));
    EXPECT_FALSE(files.Content(kFolder + std::string(kLargeBackupFile)));
}

TEST_F(ConsoleProgram, BackupModesAndFolder) {
    files.AddFolder("D:\\Backups\\");
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full", "--backup-dir", "D:\\Backups"}));
    std::string large = files.Content("D:\\Backups\\"s + kLargeBackupFile).value_or("");
    EXPECT_NE(std::string::npos, large.find("[HKEY_LOCAL_MACHINE\\" + kSet2 + "{4}\\Connection]"));
    EXPECT_NE(std::string::npos, large.find("[HKEY_LOCAL_MACHINE\\" + kSet1 + "{1}\\Connection]")) << "all four trees";
    EXPECT_FALSE(files.Content(kFolder + std::string(kSmallBackupFile)));

    const int opensBefore = files.OpenCount();
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet1 + "{3}"s, "--backup", "none"}));
    EXPECT_FALSE(Exists(kSet1 + "{3}"s));
    EXPECT_EQ(opensBefore, files.OpenCount()) << "no backup written";
}

TEST_F(ConsoleProgram, IncompleteBackupStopsBeforeItsKeyUnlessForced) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"s));
    registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked"s, {.canRead = false});
    EXPECT_EQ(ExitCode::BackupIncomplete, Run({"delete", "--stale"}));
    EXPECT_FALSE(Exists(kSet1 + "{2}"s)) << "deleted before the stop, as the window's No leaves it";
    EXPECT_TRUE(Exists(kSet1 + "{3}"s));
    EXPECT_TRUE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ("1 deleted, 0 failed, 4 left: a backup was incomplete (--force goes on without it)\n", output.err);

    output = {};
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--force"}));
    EXPECT_FALSE(Exists(kSet1 + "{3}"s));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
}

TEST_F(ConsoleProgram, UnwritableBackupFolderStopsWithNothingDeleted) {
    EXPECT_EQ(ExitCode::BackupIncomplete, Run({"delete", "--stale", "--backup-dir", "E:\\Missing"}));
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_EQ("", output.out);
}

TEST_F(ConsoleProgram, KeyThatStaysIsAFailureAndTheRestGoAhead) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{2}\\Ndi"s));
    registry.SetRights(kLocalMachine, kSet1 + "{2}\\Ndi"s, {.canRead = true, .canWrite = false});
    EXPECT_EQ(ExitCode::DeletionFailed, Run({"delete", "--stale", "--backup", "none"}));
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_FALSE(Exists(kSet1 + "{3}"s));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_NE(std::string::npos, output.err.find("could not delete " + kCurrent + "{2}"));
    EXPECT_NE(std::string::npos, output.err.find("3 deleted, 2 failed"));
}

TEST_F(ConsoleProgram, DryRunWritesAndDeletesNothing) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--name", "*2", "--dry-run"}));
    EXPECT_EQ("would delete\t" + kCurrent + "{2}\nwould delete\t" + kSet1 + "{2}\n", output.out);
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_EQ(0, files.OpenCount());
}

TEST_F(ConsoleProgram, UnknownKeyIsAUsageErrorAndNothingIsDeleted) {
    EXPECT_EQ(ExitCode::Usage, Run({"delete", "--key", kSet1 + "{2}"s, "SYSTEM\\ControlSet001\\Services\\Tcpip"}));
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(0u, output.err.find("tarvex: not the key of a listed connection: SYSTEM\\ControlSet001\\Services\\Tcpip\n"));
}

TEST_F(ConsoleProgram, KeysMatchWithoutRegardToCase) {
    std::string key = kSet2 + "{4}"s;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", key, "--backup", "none"}));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ("deleted\t" + kSet2 + "{4}\n", output.out);
}

}  // namespace
}  // namespace tarvex

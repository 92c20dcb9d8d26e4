#include "console/console_fixture.h"
#include "core/connection_deletion.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace tarvex {
namespace {

using namespace console_fixture;

TEST_F(ConsoleProgram, ListsEveryRowInScanOrder) {
    const std::string interface = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\{1}";
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, interface, "IPAddress", kRegMultiSz, "192.168.1.20\0\0"s));
    EXPECT_EQ(ExitCode::Done, Run({"list"}));
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n"
              "CurrentControlSet\tEthernet\tPresent\tIntel Ethernet\t" + kCurrent + "{1}\t2026-12-08T07:05:09Z\t192.168.1.20\r\n"
              "CurrentControlSet\tLocal Area Connection 2\tNo device\t\t" + kCurrent + "{2}\t\t\r\n"
              "CurrentControlSet\tUSB dongle\tNot present\tASIX USB\t" + kCurrent + "{3}\t2026-09-01T00:00:00Z\t\r\n"
              "ControlSet001\tEthernet\tPresent\tIntel Ethernet\t" + kSet1 + "{1}\t2026-12-08T07:05:09Z\t192.168.1.20\r\n"
              "ControlSet001\tLocal Area Connection 2\tNo device\t\t" + kSet1 + "{2}\t\t\r\n"
              "ControlSet001\tUSB dongle\tNot present\tASIX USB\t" + kSet1 + "{3}\t2026-09-01T00:00:00Z\t\r\n"
              "ControlSet002\tCaf\xC3\xA9\tNo device\t\t" + kSet2 + "{4}\t\t\r\n",
              output.out);
    EXPECT_EQ("", output.err);
}

TEST_F(ConsoleProgram, CheckCountsStaleRowsAndSaysSoInItsExitCode) {
    EXPECT_EQ(ExitCode::StaleFound, Run({"check"}));
    EXPECT_EQ("5\r\n", output.out);
    output.out.clear();
    EXPECT_EQ(ExitCode::Done, Run({"check", "--name", "Ether*"}));
    EXPECT_EQ("0\r\n", output.out);
    output.out.clear();
    EXPECT_EQ(ExitCode::StaleFound, Run({"check", "--name", "caf*"}));
    EXPECT_EQ("1\r\n", output.out);
}

// An adapter unplugged yesterday (an undocked laptop's) is kept unless the age is 0.
TEST_F(ConsoleProgram, NotPresentSinceYesterdayIsKeptAndTheSummarySaysSo) {
    devices.phantoms[0].lastRemoval = clock.utcNow - kTicksPerDay;
    const std::string kept = "2 not present kept: seen within 30 days, or undated; --not-seen-for 0 includes them\r\n";
    EXPECT_EQ(ExitCode::StaleFound, Run({"check"}));
    EXPECT_EQ("3\r\n", output.out);
    EXPECT_EQ("3 stale entries (2 connections): Local Area Connection 2, Caf\xC3\xA9\r\n" + kept, output.err);

    output = {};
    EXPECT_EQ(ExitCode::StaleFound, Run({"check", "--not-seen-for", "0"}));
    EXPECT_EQ("5\r\n", output.out);
    EXPECT_EQ("5 stale entries (3 connections): Local Area Connection 2, USB dongle, Caf\xC3\xA9\r\n", output.err)
        << "one row a control set, each connection named once";

    output = {};
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--backup", "none"}));
    EXPECT_TRUE(Exists(kSet1 + "{3}"s));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ(kept + "3 deleted, 0 failed\r\ndeleted: Local Area Connection 2, Caf\xC3\xA9; no backup written\r\n", output.err);
}

// All a fleet tool keeps is one line: the counts, the names, the backups,
// and every message the error stream would have had, which stays empty.
TEST_F(ConsoleProgram, SummaryIsOneAsciiLineWithEverythingAFleetToolKeeps) {
    devices.phantoms[0].lastRemoval = clock.utcNow - kTicksPerDay;
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--format", "summary"}));
    EXPECT_EQ("3 deleted, 0 failed; deleted: Local Area Connection 2, Caf\\u00e9; backups: "
              "C:\\Tools\\Tarvex-20261208-070509.reg, C:\\Tools\\SmallBackup.reg; to undo this run, in PowerShell: "
              "reg import 'C:\\Tools\\Tarvex-20261208-070509.reg'; "
              "2 not present kept: seen within 30 days, or undated; --not-seen-for 0 includes them\r\n",
              output.out);
    EXPECT_EQ("", output.err);

    output = {};
    devices.failing = true;
    EXPECT_EQ(ExitCode::StaleUnknown, Run({"check", "--format", "summary"}));
    EXPECT_EQ("could not tell which entries are stale: SetupDiEnumDeviceInfo failed with error 13: The data is "
              "invalid.\r\n",
              output.out);
    EXPECT_EQ("", output.err);
}

// Without a whole device list, no row can be called stale: what asks for
// stale rows stops and deletes nothing; the rest goes on without adapters.
TEST_F(ConsoleProgram, FailedDeviceQueryNeverPassesForNoDevice) {
    for (bool presentFails : {true, false}) {
        devices.presentFails = presentFails;
        devices.knownFails = !presentFails;
        for (std::vector<std::string> command : {std::vector<std::string>{"check"}, {"list", "--stale"},
                                                 {"delete", "--stale", "--backup", "none"}}) {
            output = {};
            EXPECT_EQ(ExitCode::StaleUnknown, Run(command)) << command[0];
            EXPECT_EQ("", output.out);
            EXPECT_EQ("tarvex: could not tell which entries are stale: SetupDiEnumDeviceInfo failed with error 13: "
                      "The data is invalid.\r\n",
                      output.err);
        }
    }
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));

    devices = {};
    devices.present.clear();
    output = {};
    EXPECT_EQ(ExitCode::StaleUnknown, Run({"delete", "--stale", "--backup", "none"})) << "no device at all is no list";
    EXPECT_NE(std::string::npos, output.err.find("error 259: No network device was listed at all")) << output.err;
    EXPECT_TRUE(Exists(kSet1 + "{1}"s));
    devices.presentFails = true;

    output = {};
    EXPECT_EQ(ExitCode::Done, Run({"list"}));
    EXPECT_NE(std::string::npos, output.out.find("ControlSet001\tUSB dongle\t\t\t" + kSet1 + "{3}\t\t\r\n"));
    EXPECT_NE(std::string::npos, output.err.find("warning: the device query failed"));
    output = {};
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "none"}));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
}

// Names outside the ANSI code page come as Windows stores them.
TEST_F(ConsoleProgram, NamesAreReadWhole) {
    registry.SetUnicodeText(kLocalMachine, kSet2 + "{4}\\Connection"s, "Name", "\xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C", "????");
    EXPECT_EQ(ExitCode::Done, Run({"list", "--name", "\xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C", "--format", "json"}));
    EXPECT_NE(std::string::npos, output.out.find("\"connection\":\"\\u0421\\u0435\\u0442\\u044c\""));
}

TEST_F(ConsoleProgram, MissingNetworkKeyIsNoLackOfRights) {
    MemoryRegistry empty;
    RecordingOutput out;
    const Services withoutNetworkKey{empty, empty, devices, installer, files, clock, codec, cases, nullptr};
    EXPECT_EQ(ExitCode::Done, static_cast<ExitCode>(RunConsole({"list"}, withoutNetworkKey, out, "C:\\Tools")));
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n", out.out);
}

struct LostOutput {
    const char* what;
    std::vector<std::string> command;
    WriteResult result;
    ExitCode exit;
};

class LostOutputs : public ConsoleProgram, public ::testing::WithParamInterface<LostOutput> {};

// Output that fails is never success; a reader that went away is no fault of the run's.
TEST_P(LostOutputs, GiveTheirOwnCodeAndLetTheDeletionFinish) {
    output.failFrom = 0;
    output.result = GetParam().result;
    EXPECT_EQ(GetParam().exit, Run(GetParam().command));
    const bool failed = GetParam().result == WriteResult::Failed;
    EXPECT_EQ(failed, output.err.find("tarvex: could not write to standard output: The pipe is being closed. (error "
                                      "232)\r\n") != std::string::npos)
        << output.err;
    EXPECT_EQ(1, output.writes) << "a broken stream is written to once";
    if (GetParam().command[0] == "delete") {
        EXPECT_FALSE(Exists(kSet1 + "{3}"s)) << "the deletion finished";
        EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LostOutputs,
    ::testing::Values(
        LostOutput{"ListFails", {"list"}, WriteResult::Failed, ExitCode::Unfinished},
        LostOutput{"CheckFails", {"check"}, WriteResult::Failed, ExitCode::Unfinished},
        LostOutput{"DeleteFails", {"delete", "--stale", "--backup", "none"}, WriteResult::Failed, ExitCode::Unfinished},
        LostOutput{"ListReaderGone", {"list"}, WriteResult::ReaderGone, ExitCode::Done},
        LostOutput{"CheckReaderGone", {"check"}, WriteResult::ReaderGone, ExitCode::StaleFound},
        LostOutput{"DeleteReaderGone", {"delete", "--stale", "--backup", "none"}, WriteResult::ReaderGone,
                   ExitCode::Done}),
    [](const auto& info) { return info.param.what; });

class ThrowingDevices final : public DeviceQuery {
public:
    DeviceList<AnsiText> PresentDevices() override { throw std::length_error("vector::reserve"); }
    DeviceList<NetworkDevice> KnownDevices() override { return {}; }
    DeviceList<DeviceDriver> PresentDrivers() override { return {}; }
};

// Left to the runtime, the exception would end in abort() and exit code 3.
TEST_F(ConsoleProgram, UnexpectedFailureIsNamedAndHasItsOwnCode) {
    ThrowingDevices throwing;
    const Services failing{registry, registry, throwing, installer, files, clock, codec, cases, nullptr};
    EXPECT_EQ(ExitCode::Unfinished, static_cast<ExitCode>(RunConsole({"list"}, failing, output, "C:\\Tools")));
    EXPECT_EQ("tarvex: failed while scanning the connections: vector::reserve\r\n", output.err);
}

TEST_F(ConsoleProgram, UsageErrorReadsNothing) {
    EXPECT_EQ(ExitCode::Usage, Run({"delete", "--stale", "--backup", "all"}));
    EXPECT_EQ(0, registry.CallCount(RegistryCall::OpenKey));
    EXPECT_EQ("", output.out);
    EXPECT_EQ("tarvex: --backup takes selective, full or none, not all\r\nType \"tarvex help delete\" for usage.\r\n",
              output.err) << "the cause and where to look, as reg.exe says it";
}

TEST_F(ConsoleProgram, WithoutWriteRightsItSaysSoBeforeListing) {
    registry.SetRights(kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network", {.canRead = true, .canWrite = false});
    EXPECT_EQ(ExitCode::NoAdminRights, Run({"list"}));
    EXPECT_EQ("", output.out);
    EXPECT_NE(std::string::npos, output.err.find("administrator rights"));
}

TEST_F(ConsoleProgram, HelpAndVersionNeedNoRegistry) {
    EXPECT_EQ(ExitCode::Done, Run({"--version"}));
    EXPECT_EQ("tarvex " TARVEX_VERSION "\r\n", output.out);
    EXPECT_EQ(ExitCode::Done, Run({"--help"}));
    EXPECT_EQ(0, registry.CallCount(RegistryCall::OpenKey));
}

// The current set's row goes first and takes the numbered set's row with it.
TEST_F(ConsoleProgram, DeleteStaleBacksUpEachKeyAndCountsLinkedRowsAsDeleted) {
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale"}));
    for (const std::string& key : {kSet1 + "{2}"s, kSet1 + "{3}"s, kSet2 + "{4}"s}) EXPECT_FALSE(Exists(key)) << key;
    EXPECT_TRUE(Exists(kSet1 + "{1}"s));
    EXPECT_EQ("deleted\t" + kCurrent + "{2}\r\ndeleted\t" + kCurrent + "{3}\r\ndeleted\t" + kSet1 + "{2}\r\ndeleted\t" +
                  kSet1 + "{3}\r\ndeleted\t" + kSet2 + "{4}\r\n",
              output.out);
    // After the counts, which connections went and where their backup is.
    EXPECT_EQ("5 deleted, 0 failed\r\ndeleted: Local Area Connection 2, USB dongle, Caf\xC3\xA9; backups: "
              "C:\\Tools\\Tarvex-20261208-070509.reg, C:\\Tools\\SmallBackup.reg\r\n"
              "tarvex: to undo this run, in PowerShell: reg import 'C:\\Tools\\Tarvex-20261208-070509.reg'\r\n",
              output.err);
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

TEST_F(ConsoleProgram, IncompleteBackupStopsBeforeItsKeyUnlessForcedAndAForcedRunSaysSo) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"s));
    registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked"s, {.canRead = false});
    const std::string before = files.Content(kFolder + std::string(kSmallBackupFile)).value_or("none");
    EXPECT_EQ(ExitCode::BackupIncomplete, Run({"delete", "--stale"}));
    EXPECT_TRUE(Exists(kSet1 + "{2}"s)) << "the run's own file is the gate: nothing goes without it whole";
    EXPECT_TRUE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ("tarvex: the backup in C:\\Tools\\Tarvex-20261208-070509.reg is incomplete\r\nleft\t" + kCurrent +
                  "{2}\r\nleft\t" + kCurrent + "{3}\r\nleft\t" + kSet1 + "{2}\r\nleft\t" + kSet1 + "{3}\r\nleft\t" +
                  kSet2 + "{4}\r\n0 deleted, 0 failed, 5 left: a backup was incomplete (--force goes on without it)\r\n"
                  "deleted: nothing; no backup written\r\n",
              output.err);
    EXPECT_EQ(before, files.Content(kFolder + std::string(kSmallBackupFile)).value_or("none"));
    EXPECT_FALSE(files.Content(kFolder + "Tarvex-20261208-070509.reg"s)) << "a run that deletes nothing keeps no file";

    output = {};
    EXPECT_EQ(ExitCode::DoneWithIncompleteBackup, Run({"delete", "--stale", "--force"}));
    EXPECT_FALSE(Exists(kSet1 + "{3}"s));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_NE(std::string::npos, output.err.find("tarvex: deleted with an incomplete backup: " + kCurrent + "{3}\r\n"));
    EXPECT_NE(std::string::npos, output.err.find("5 deleted, 0 failed, 1 with an incomplete backup\r\n")) << output.err;
}

// A full backup that is not whole leaves every key it covers without a whole copy.
TEST_F(ConsoleProgram, ForcedPastAnIncompleteFullBackupNamesEveryKey) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{1}\\Locked"s));
    registry.SetRights(kLocalMachine, kSet1 + "{1}\\Locked"s, {.canRead = false});
    EXPECT_EQ(ExitCode::DoneWithIncompleteBackup, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full", "--force"}));
    EXPECT_NE(std::string::npos, output.err.find("deleted with an incomplete backup: " + kSet2 + "{4}\r\n"));
}

struct BackupFolderCase {
    const char* what;
    std::vector<std::string> options;
    std::string message;
};

class BackupFolders : public ConsoleProgram, public ::testing::WithParamInterface<BackupFolderCase> {};

// --force never stands for a folder that was mistyped.
TEST_P(BackupFolders, AreAUsageErrorThatNamesThemEvenWithForce) {
    files.SetContent("C:\\Tools\\notes.txt", "x");
    std::vector<std::string> arguments{"delete", "--stale", "--force"};
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    EXPECT_EQ(ExitCode::Usage, Run(arguments));
    EXPECT_EQ(0u, output.err.find("tarvex: " + GetParam().message + "\r\n")) << output.err;
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_EQ("", output.out);
    EXPECT_EQ(0, files.OpenCount());
}

INSTANTIATE_TEST_SUITE_P(
    Options, BackupFolders,
    ::testing::Values(
        BackupFolderCase{"Missing", {"--backup-dir", "E:\\Missing"}, "the backup folder does not exist: E:\\Missing"},
        BackupFolderCase{"MissingForFull", {"--backup-dir", "E:\\Missing", "--backup", "full"},
                         "the backup folder does not exist: E:\\Missing"},
        BackupFolderCase{"AFile", {"--backup-dir", "C:\\Tools\\notes.txt"},
                         "the backup folder is not a folder: C:\\Tools\\notes.txt"},
        BackupFolderCase{"Empty", {"--backup-dir", ""}, "--backup-dir needs a folder, not \"\""},
        BackupFolderCase{"DryRun", {"--backup-dir", "E:\\Missing", "--dry-run"},
                         "the backup folder does not exist: E:\\Missing"},
        BackupFolderCase{"MissingWithoutBackup", {"--backup-dir", "E:\\Missing", "--backup", "none"},
                         "the backup folder does not exist: E:\\Missing"}),
    [](const auto& info) { return info.param.what; });

struct UnwritableBackup {
    const char* what;
    std::vector<std::string> options;
    std::function<void(MemoryFiles&)> arrange;
    std::string file;
};

class UnwritableBackups : public ConsoleProgram, public ::testing::WithParamInterface<UnwritableBackup> {};

// A backup that cannot be written at all is never forced past: nothing is
// deleted, and a dry run says so as the real run would.
TEST_P(UnwritableBackups, StopBeforeAnyKeyWithOrWithoutForce) {
    GetParam().arrange(files);
    for (const char* extra : {"--force", "--dry-run"}) {
        output = {};
        std::vector<std::string> arguments{"delete", "--stale", extra};
        arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
        EXPECT_EQ(ExitCode::BackupIncomplete, Run(arguments)) << extra;
        EXPECT_EQ("tarvex: cannot write the backup file " + GetParam().file + "; nothing deleted\r\n", output.err);
        EXPECT_EQ("", output.out);
        for (const std::string& key : {kSet1 + "{2}"s, kSet1 + "{3}"s, kSet2 + "{4}"s}) EXPECT_TRUE(Exists(key));
    }
    EXPECT_FALSE(files.Content(kFolder + std::string(kLargeBackupFile)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnwritableBackups,
    ::testing::Values(
        UnwritableBackup{"ReadOnlySmallBackup", {},
                         [](MemoryFiles& f) {
                             f.SetContent("C:\\Tools\\SmallBackup.reg", "REGEDIT4\r\n\r\n");
                             f.SetReadOnly("C:\\Tools\\SmallBackup.reg");
                         },
                         "C:\\Tools\\SmallBackup.reg"},
        UnwritableBackup{"LinkedSmallBackup", {},
                         [](MemoryFiles& f) {
                             f.AddFolder("C:\\Windows\\");
                             f.SetContent("C:\\Windows\\win.ini", "[fonts]\r\n");
                             f.AddLink("C:\\Tools\\SmallBackup.reg", "C:\\Windows\\win.ini");
                         },
                         "C:\\Tools\\SmallBackup.reg"},
        UnwritableBackup{"ReadOnlyDraft", {"--backup", "full"},
                         [](MemoryFiles& f) {
                             f.SetContent("C:\\Tools\\LargeBackup.reg.tmp", "");
                             f.SetReadOnly("C:\\Tools\\LargeBackup.reg.tmp");
                         },
                         "C:\\Tools\\LargeBackup.reg.tmp"}),
    [](const auto& info) { return info.param.what; });

TEST_F(ConsoleProgram, BackupFileThatFailsPartwayStopsThereEvenWithForce) {
    files.FailOpensFrom(4);  // the file check, the run's own file and the first key's block, no more
    EXPECT_EQ(ExitCode::BackupIncomplete, Run({"delete", "--stale", "--force"}));
    EXPECT_EQ("deleted\t" + kCurrent + "{2}\r\n", output.out);
    EXPECT_TRUE(Exists(kSet1 + "{3}"s));
    EXPECT_TRUE(Exists(kSet2 + "{4}"s));
    EXPECT_NE(std::string::npos, output.err.find("tarvex: could not write the backup file C:\\Tools\\SmallBackup.reg\r\n"));
    EXPECT_NE(std::string::npos, output.err.find("1 deleted, 0 failed, 4 left: a backup could not be written\r\n"));
}

// A scheduled full-backup run that finds nothing keeps the last full backup.
TEST_F(ConsoleProgram, NothingToDeleteWritesNoBackup) {
    const std::string last = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\last]\r\n\r\n";
    files.SetContent(kFolder + std::string(kLargeBackupFile), last);
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--name", "Nothing*", "--backup", "full"}));
    EXPECT_EQ(last, files.Content(kFolder + std::string(kLargeBackupFile)));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ("tarvex: no connection matches 'Nothing*'; PATTERN takes * and ?\r\n0 to delete\r\n", output.err);
}

TEST_F(ConsoleProgram, FullBackupThatCannotReplaceTheLastIsKeptUnderItsOwnNameAndNamed) {
    files.SetContent(kFolder + std::string(kLargeBackupFile), "REGEDIT4\r\n\r\n");
    files.SetReadOnly(kFolder + std::string(kLargeBackupFile));
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full"}));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_NE(std::string::npos, files.Content("C:\\Tools\\LargeBackup-20261208-070509.reg").value_or("").find(kSet2));
    EXPECT_NE(std::string::npos,
              output.err.find("tarvex: warning: LargeBackup.reg could not be replaced; this run's full backup is "
                              "C:\\Tools\\LargeBackup-20261208-070509.reg\r\n"));
}

// The draft is removed by name before it is written: a link left there
// loses its name, what it leads to keeps its bytes, and nothing is refused.
TEST_F(ConsoleProgram, LinkLeftAtTheDraftsNameIsNoReasonToStop) {
    files.AddFolder("C:\\Windows\\");
    files.SetContent("C:\\Windows\\win.ini", "[fonts]\r\n");
    files.AddLink(kFolder + std::string(kLargeBackupFile) + kDraftSuffix, "C:\\Windows\\win.ini");
    for (const char* extra : {"--dry-run", "--force"}) {
        EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full", extra})) << output.err;
    }
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ("[fonts]\r\n", files.Content("C:\\Windows\\win.ini"));
    EXPECT_NE(std::string::npos, files.Content(kFolder + std::string(kLargeBackupFile)).value_or("").find(kSet2));
}

// Kept only under the draft's name, the backup would go with the next full
// one: no key goes without --force, and a forced run says where it is.
TEST_F(ConsoleProgram, FullBackupKeptOnlyAsTheDraftStopsUnlessForced) {
    const std::string large = kFolder + std::string(kLargeBackupFile);
    files.SetContent(large, "REGEDIT4\r\n\r\n");
    files.SetReadOnly(large);
    files.FailRenames();
    EXPECT_EQ(ExitCode::BackupIncomplete, Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full"}));
    EXPECT_TRUE(Exists(kSet2 + "{4}"s));
    EXPECT_FALSE(files.Content(large + kDraftSuffix)) << "the stopped draft";
    EXPECT_NE(std::string::npos, output.err.find("the full backup could be kept only as C:\\Tools\\LargeBackup.reg.tmp, "
                                                 "which the next full backup removes\r\n"))
        << output.err;

    output = {};
    EXPECT_EQ(ExitCode::DoneWithIncompleteBackup,
              Run({"delete", "--key", kSet2 + "{4}"s, "--backup", "full", "--force"}));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_NE(std::string::npos, files.Content(large + kDraftSuffix).value_or("").find(kSet2));
    EXPECT_NE(std::string::npos, output.err.find("this run's full backup is C:\\Tools\\LargeBackup.reg.tmp; move it "
                                                 "somewhere safe before the next full backup\r\n"))
        << output.err;
}

TEST_F(ConsoleProgram, DryRunChecksRightsAsTheRealRunDoes) {
    registry.SetRights(kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network", {.canRead = true, .canWrite = false});
    EXPECT_EQ(ExitCode::NoAdminRights, Run({"delete", "--stale", "--dry-run"}));
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
    for (const char* mode : {"selective", "full"}) {
        output = {};
        EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale", "--name", "*2", "--dry-run", "--backup", mode}));
        EXPECT_EQ("would delete\t" + kCurrent + "{2}\r\nwould delete\t" + kSet1 + "{2}\r\n", output.out);
        EXPECT_TRUE(Exists(kSet1 + "{2}"s));
        EXPECT_FALSE(files.Content(kFolder + std::string(kSmallBackupFile)));
        EXPECT_FALSE(files.Content(kFolder + std::string(kLargeBackupFile) + kDraftSuffix));
    }
}

TEST_F(ConsoleProgram, KeyGivenTwiceIsListedAndDeletedOnce) {
    const std::string key = kSet2 + "{4}"s;
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", key, "--key", key, "--dry-run"}));
    EXPECT_EQ("would delete\t" + key + "\r\n", output.out);
    output = {};
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", key, key, "--backup", "none"}));
    EXPECT_EQ("deleted\t" + key + "\r\n", output.out);
    EXPECT_EQ("1 deleted, 0 failed\r\ndeleted: Caf\xC3\xA9; no backup written\r\n", output.err);
}

TEST_F(ConsoleProgram, UnknownKeyIsAUsageErrorAndNothingIsDeleted) {
    EXPECT_EQ(ExitCode::Usage, Run({"delete", "--key", kSet1 + "{2}"s, "SYSTEM\\ControlSet001\\Services\\Tcpip"}));
    EXPECT_TRUE(Exists(kSet1 + "{2}"s));
    EXPECT_EQ(0, files.OpenCount());
    EXPECT_EQ(0u, output.err.find("tarvex: not the key of a listed connection: SYSTEM\\ControlSet001\\Services\\Tcpip; "
                                  "tarvex list shows the keys\r\n"));
}

TEST_F(ConsoleProgram, KeysMatchWithoutRegardToCase) {
    std::string key = kSet2 + "{4}"s;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--key", key, "--backup", "none"}));
    EXPECT_FALSE(Exists(kSet2 + "{4}"s));
    EXPECT_EQ("deleted\t" + kSet2 + "{4}\r\n", output.out);
}

}  // namespace
}  // namespace tarvex

#include "console/console_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

// Two outcomes one deletion run meets, the code that wins, and what the
// error stream must still say of the other.
struct OutcomePair {
    const char* what;
    std::vector<std::string> options;  // after delete --stale
    std::function<void(MemoryRegistry&, MemoryFiles&, RecordingOutput&, FakeInstaller&)> arrange;
    ExitCode exit;
    std::vector<std::string> named;  // on the error stream, whichever wins
    std::function<void(ConsoleProgram&)> alsoArrange = [](ConsoleProgram&) {};
};

class ExitCodeOrder : public ConsoleProgram, public ::testing::WithParamInterface<OutcomePair> {};

// The stale rows in order: CurrentControlSet's {2} and {3} (which take
// ControlSet001's with them), then ControlSet002's {4}.
TEST_P(ExitCodeOrder, TheFirstInTheOrderWinsAndEveryOutcomeIsNamed) {
    GetParam().arrange(registry, files, output, installer);
    GetParam().alsoArrange(*this);
    std::vector<std::string> arguments{"delete", "--stale"};
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    EXPECT_EQ(GetParam().exit, Run(arguments));
    for (const std::string& text : GetParam().named) EXPECT_NE(std::string::npos, output.err.find(text)) << text;
}

// {2}'s key stays: its subkey cannot be deleted.
void UndeletableFirst(MemoryRegistry& registry) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{2}\\Ndi"));
    registry.SetRights(kLocalMachine, kSet1 + "{2}\\Ndi", {.canRead = true, .canWrite = false});
}

// {3}'s backup is incomplete: its subkey cannot be read.
void UnreadableSecond(MemoryRegistry& registry) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"));
    registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked", {.canRead = false});
}

// The file check, the run's own file and the first two keys' backups open a
// file ({2} and {3} of ControlSet001 are gone with CurrentControlSet's and
// open none); {4}'s cannot.
void BackupFileGoneAtTheLast(MemoryFiles& files) { files.FailOpensFrom(5); }

void OutputLost(RecordingOutput& output) { output.failFrom = 0; }

// {3}'s device goes with it, and Windows asks for a restart.
void RestartAfterTheSecond(FakeInstaller& installer) { installer.needsRestart.insert("USB\\DONGLE\\3"); }

// ControlSet002's {4} comes last and stays: its subkey cannot be deleted.
void UndeletableLast(MemoryRegistry& registry) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kSet2 + "{4}\\Ndi"));
    registry.SetRights(kLocalMachine, kSet2 + "{4}\\Ndi", {.canRead = true, .canWrite = false});
}

// The hand-over's third write fails, and so does putting its second value back.
void HalfWrittenHandOver(ConsoleProgram& c) {
    c.StaticGhostAndSuccessor();
    c.registry.InjectFault({RegistryCall::SetValue, 5, 2});
    c.registry.InjectFault({RegistryCall::DeleteValue, 5, 0});
}

const std::string kRestart = "tarvex: Windows asks for a restart to finish the uninstall";
const std::string kFailed = "tarvex: could not delete " + kCurrent + "{2}";
const std::string kStoppedIncomplete = "left: a backup was incomplete";
const std::string kStoppedUnwritten = "left: a backup could not be written";
const std::string kForced = "tarvex: deleted with an incomplete backup: " + kCurrent + "{3}";
const std::string kLost = "tarvex: could not write to standard output";
const std::string kNothingHandedOver = "tarvex: nothing handed over: no present adapter can take them\r\n";
const std::string kHalfWritten = "tarvex: the hand-over to Ethernet 2 (Intel I219-V, {5}) is half written";

INSTANTIATE_TEST_SUITE_P(
    Pairs, ExitCodeOrder,
    ::testing::Values(
        OutcomePair{"StopOverFailedDeletion", {},
                    [](MemoryRegistry& r, MemoryFiles& f, RecordingOutput&, FakeInstaller&) {
                        UndeletableFirst(r);
                        BackupFileGoneAtTheLast(f);
                    },
                    ExitCode::BackupIncomplete, {kFailed, "1 deleted, 1 failed", kStoppedUnwritten}},
        OutcomePair{"StopOverForced", {"--force"},
                    [](MemoryRegistry& r, MemoryFiles& f, RecordingOutput&, FakeInstaller&) {
                        UnreadableSecond(r);
                        BackupFileGoneAtTheLast(f);
                    },
                    ExitCode::BackupIncomplete, {kForced, "1 with an incomplete backup", kStoppedUnwritten}},
        OutcomePair{"StopOverLostOutput", {},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput& o, FakeInstaller&) {
                        UnreadableSecond(r);
                        OutputLost(o);
                    },
                    ExitCode::BackupIncomplete, {kLost, kStoppedIncomplete}},
        OutcomePair{"FailedDeletionOverForced", {"--force"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller&) {
                        UndeletableFirst(r);
                        UnreadableSecond(r);
                    },
                    ExitCode::DeletionFailed, {kFailed, kForced, "2 failed, 1 with an incomplete backup"}},
        OutcomePair{"FailedDeletionOverLostOutput", {"--backup", "none"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput& o, FakeInstaller&) {
                        UndeletableFirst(r);
                        OutputLost(o);
                    },
                    ExitCode::DeletionFailed, {kFailed, kLost, "3 deleted, 2 failed"}},
        OutcomePair{"ForcedOverLostOutput", {"--force"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput& o, FakeInstaller&) {
                        UnreadableSecond(r);
                        OutputLost(o);
                    },
                    ExitCode::DoneWithIncompleteBackup, {kForced, kLost}},
        OutcomePair{"StopOverRestart", {"--uninstall-devices"},
                    [](MemoryRegistry&, MemoryFiles& f, RecordingOutput&, FakeInstaller& i) {
                        RestartAfterTheSecond(i);
                        BackupFileGoneAtTheLast(f);
                    },
                    ExitCode::BackupIncomplete, {kRestart, kStoppedUnwritten, "uninstalled"}},
        OutcomePair{"FailedDeletionOverRestart", {"--uninstall-devices", "--backup", "none"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller& i) {
                        RestartAfterTheSecond(i);
                        UndeletableFirst(r);
                    },
                    ExitCode::DeletionFailed, {kRestart, kFailed}},
        OutcomePair{"ForcedOverRestart", {"--uninstall-devices", "--force"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller& i) {
                        RestartAfterTheSecond(i);
                        UnreadableSecond(r);
                    },
                    ExitCode::DoneWithIncompleteBackup, {kRestart, kForced}},
        OutcomePair{"LostOutputOverRestart", {"--uninstall-devices", "--backup", "none"},
                    [](MemoryRegistry&, MemoryFiles&, RecordingOutput& o, FakeInstaller& i) {
                        RestartAfterTheSecond(i);
                        OutputLost(o);
                    },
                    ExitCode::Unfinished, {kRestart, kLost}},
        OutcomePair{"FailedDeletionOverHandOver", {"--with-ip-settings", "--hand-over", "--backup", "none"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller&) {
                        ConsoleProgram::StaticGhost(r);
                        UndeletableLast(r);
                    },
                    ExitCode::DeletionFailed, {"tarvex: could not delete " + kSet2 + "{4}", kNothingHandedOver}},
        OutcomePair{"HandOverOverForced", {"--with-ip-settings", "--hand-over", "--force"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller&) {
                        ConsoleProgram::StaticGhost(r);
                        UnreadableSecond(r);
                    },
                    ExitCode::HandOverFailed, {kForced, kNothingHandedOver}},
        OutcomePair{"HandOverOverRestart", {"--with-ip-settings", "--hand-over", "--uninstall-devices", "--backup", "none"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller& i) {
                        ConsoleProgram::StaticGhost(r);
                        RestartAfterTheSecond(i);
                    },
                    ExitCode::HandOverFailed, {kRestart, kNothingHandedOver}},
        OutcomePair{"HalfWrittenHandOverOverFailedDeletionAndRestart",
                    {"--with-ip-settings", "--hand-over", "--uninstall-devices", "--backup", "none"},
                    [](MemoryRegistry& r, MemoryFiles&, RecordingOutput&, FakeInstaller& i) {
                        UndeletableLast(r);
                        RestartAfterTheSecond(i);
                    },
                    ExitCode::HandOverPartial, {kHalfWritten, "tarvex: could not delete " + kSet2 + "{4}", kRestart},
                    HalfWrittenHandOver},
        OutcomePair{"RestartOverDone", {"--uninstall-devices", "--backup", "none"},
                    [](MemoryRegistry&, MemoryFiles&, RecordingOutput&, FakeInstaller& i) { RestartAfterTheSecond(i); },
                    ExitCode::RestartNeeded, {kRestart, "devices: 1 uninstalled, 0 failed, 0 kept"}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

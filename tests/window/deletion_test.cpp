#include "core/connection_deletion.h"
#include "export/backup_error.h"
#include "form1_harness.h"
#include "window/deletion.h"
#include "support/seed_connection.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kCurrent[] = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
constexpr char kSet001[] = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
const std::string kLarge = std::string(kProgramFolder) + kLargeBackupFile;
const std::string kSmall = std::string(kProgramFolder) + kSmallBackupFile;

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string Block(const std::string& key, const std::string& name) {
    return "[HKEY_LOCAL_MACHINE\\" + key + "]\r\n\r\n[HKEY_LOCAL_MACHINE\\" + key + "\\Connection]\r\n\"Name\"=\"" +
           name + "\"\r\n\r\n";
}

// Four connections: {1} to {3} in the current control set, {4} in ControlSet001.
class Deletion : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [key, name] : Connections()) {
            ASSERT_EQ(kSuccess, SeedConnection(h.registry, key, name));
        }
        h.form.Load("C:\\Tarvex");
        h.form.cmdReadClick();
        ASSERT_EQ(4, h.list.RowCount());
        BackupError = false;
    }
    static std::vector<std::pair<std::string, std::string>> Connections() {
        return {{kCurrent + "{1}"s, "one"}, {kCurrent + "{2}"s, "two"}, {kCurrent + "{3}"s, "three"},
                {kSet001 + "{4}"s, "four"}};
    }
    static std::string KeyOf(int connection) { return Connections()[connection - 1].first; }
    void Tick(std::initializer_list<int> connections) {
        for (int connection : connections) {
            for (int row = 0; row < h.list.RowCount(); ++row) {
                if (h.list.RowText(row) == KeyOf(connection)) h.list.SetChecked(row, true);
            }
        }
    }
    bool Exists(int connection) const { return h.registry.KeyExists(kLocalMachine, KeyOf(connection)); }
    std::vector<bool> Marks() const {
        std::vector<bool> marks;
        for (const auto& row : h.list.rows) marks.push_back(row.checked);
        return marks;
    }
    // The two boxes of the warning, after first boxes shown before them.
    // The warning, once for each backup that is not whole: the run's own file's first, then SmallBackup.reg's.
    void ExpectWarning(std::size_t first = 0, std::size_t times = 1) const {
        ASSERT_EQ(first + 2 * times, h.messages.shown.size());
        for (std::size_t at = first; at < first + 2 * times; at += 2) {
            EXPECT_EQ(kBackupErrorText, h.messages.shown[at].text);
            EXPECT_EQ(MessageIcon::Critical, h.messages.shown[at].icon);
            EXPECT_EQ(MessageButtons::Ok, h.messages.shown[at].buttons);
            EXPECT_EQ(kContinueText, h.messages.shown[at + 1].text);
            EXPECT_EQ(MessageIcon::None, h.messages.shown[at + 1].icon);
            EXPECT_EQ(MessageButtons::YesNo, h.messages.shown[at + 1].buttons);
        }
    }
    // Makes the backup of a connection incomplete: one of its subkeys cannot be read.
    void LockSubkeyOf(int connection) {
        ASSERT_EQ(kSuccess, h.registry.CreateKey(kLocalMachine, KeyOf(connection) + "\\Locked"));
        h.registry.SetRights(kLocalMachine, KeyOf(connection) + "\\Locked", {.canRead = false});
    }

    Form1Harness<> h;
};

TEST_F(Deletion, FullBackupWithNoRowTickedStillWritesTheFileAndRescans) {
    h.checks.backupAll = true;
    h.list.SetChecked(0, false);
    h.form.comDelClick();

    std::string large = h.files.Content(kLarge).value_or("");
    EXPECT_EQ(0u, large.find("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network]\r\n"));
    EXPECT_EQ(1u, Occurrences(large, "REGEDIT4"));
    EXPECT_EQ(1u, Occurrences(large, "[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\Network]"));
    EXPECT_EQ(0u, Occurrences(large, "ControlSet002")) << "missing trees write no block";
    EXPECT_EQ(4u, Occurrences(large, "\\Connection]"));
    for (int connection : {1, 2, 3, 4}) EXPECT_TRUE(Exists(connection));
    EXPECT_EQ(1, h.pump.passes);
    EXPECT_EQ(4, h.list.RowCount());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST_F(Deletion, RescanAfterDeletionDropsRowsAndMarks) {
    Tick({1, 4});
    h.form.comDelClick();
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(4));
    EXPECT_EQ((std::vector<std::string>{KeyOf(2), KeyOf(3)}), h.list.Texts());
    EXPECT_EQ((std::vector<bool>{false, false}), Marks());
}

TEST_F(Deletion, BothBoxesWriteOnlyTheFullBackup) {
    h.checks.backupAll = true;
    Tick({2});
    h.form.comDelClick();
    EXPECT_TRUE(h.files.Content(kLarge));
    EXPECT_FALSE(h.files.Content(kSmall));
    EXPECT_FALSE(Exists(2));
}

TEST_F(Deletion, NeitherBoxWritesNothingShowsNothingAndLeavesBackupError) {
    h.checks.backupSelected = false;
    for (bool before : {true, false}) {
        BackupError = before;
        Tick({1, 2});
        h.form.comDelClick();
        EXPECT_EQ(before, BackupError);
    }
    EXPECT_EQ(0, h.files.OpenCount());
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(2));
}

TEST_F(Deletion, SecondFullBackupReplacesTheFirst) {
    h.checks.backupAll = true;
    Tick({1});
    h.form.comDelClick();
    EXPECT_EQ(1u, Occurrences(*h.files.Content(kLarge), KeyOf(1) + "]"));
    h.form.comDelClick();
    std::string large = *h.files.Content(kLarge);
    EXPECT_EQ(0u, Occurrences(large, KeyOf(1) + "]"));
    EXPECT_EQ(1u, Occurrences(large, "REGEDIT4"));
    EXPECT_EQ(3u, Occurrences(large, "\\Connection]"));
}

TEST_F(Deletion, SelectiveBackupsOfTwoPressesAppendInOrder) {
    Tick({3});
    h.form.comDelClick();
    Tick({1});
    h.form.comDelClick();
    EXPECT_EQ("REGEDIT4\r\n\r\n" + Block(KeyOf(3), "three") + Block(KeyOf(1), "one"), h.files.Content(kSmall));
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(3));
    EXPECT_FALSE(BackupError);
}

TEST_F(Deletion, NoAfterTheFullBackupChangesNothing) {
    h.checks.backupAll = true;
    LockSubkeyOf(4);
    Tick({1, 4});
    const auto rowsBefore = h.list.rows;
    h.messages.yesNoAnswers = {MessageAnswer::No};
    h.form.comDelClick();

    ExpectWarning();
    for (int connection : {1, 2, 3, 4}) EXPECT_TRUE(Exists(connection));
    EXPECT_EQ(rowsBefore.size(), h.list.rows.size());
    EXPECT_EQ((std::vector<bool>{true, false, false, true}), Marks());
    EXPECT_EQ(0, h.pump.passes);
}

// Past the run's own file, which the locked key leaves incomplete too; the
// No takes back the third key's block: no block for a key that stays.
TEST_F(Deletion, NoAfterTheThirdSelectiveBackupKeepsTheFirstTwoDeletedWithoutRescan) {
    LockSubkeyOf(3);
    Tick({1, 2, 3, 4});
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    h.form.comDelClick();

    ExpectWarning(0, 2);
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(2));
    EXPECT_TRUE(Exists(3));
    EXPECT_TRUE(Exists(4));
    EXPECT_EQ(4, h.list.RowCount()) << "the deleted rows stay until the next scan";
    EXPECT_EQ(0, h.pump.passes);
    std::string small = h.files.Content(kSmall).value_or("");
    EXPECT_EQ(1u, Occurrences(small, "[HKEY_LOCAL_MACHINE\\" + KeyOf(2) + "]"));
    EXPECT_EQ(0u, Occurrences(small, KeyOf(3)));
    EXPECT_EQ(0u, Occurrences(small, KeyOf(4)));
    ASSERT_EQ(2u, h.events.events.size());
    EXPECT_EQ(1003u, h.events.events[1].id);
    EXPECT_NE(std::string::npos, h.events.events[1].strings[0].find("the backup warning was answered No"));
}

// The window's run leaves the console's record: its two events, the second
// with the line --format summary would give it, "the window" for its command line.
TEST_F(Deletion, ARunLeavesItsTwoEventsAndALogThatRefusesThemIsTold) {
    Tick({2});
    h.form.comDelClick();
    ASSERT_EQ(2u, h.events.events.size());
    EXPECT_EQ(100u, h.events.events[0].id);
    EXPECT_EQ("delete 1 entry", h.events.events[0].strings[0]);
    EXPECT_EQ("selective: C:\\Tarvex\\Tarvex-20261208-070509.reg, C:\\Tarvex\\SmallBackup.reg",
              h.events.events[0].strings[1]);
    EXPECT_EQ("the window", h.events.events[0].strings[4]);
    EXPECT_EQ(1000u, h.events.events[1].id);
    EXPECT_EQ("1 deleted, 0 failed; deleted: two; backups: C:\\Tarvex\\Tarvex-20261208-070509.reg, "
              "C:\\Tarvex\\SmallBackup.reg; to undo this run, in PowerShell: reg import "
              "'C:\\Tarvex\\Tarvex-20261208-070509.reg'",
              h.events.events[1].strings[0]);
    EXPECT_TRUE(h.messages.shown.empty()) << "a plain deletion shows no box";

    h.events.reportFails = FakeEventLog::kReportFailure;
    Tick({3});
    h.form.comDelClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ(0u, h.messages.shown[0].text.find("The Application log: not written (ReportEventW, status 1722)."))
        << h.messages.shown[0].text;
    EXPECT_FALSE(Exists(3)) << "the run went on";

    // Stopped after a change, the window says so too: the log holds nothing of what went.
    h.messages.shown.clear();
    LockSubkeyOf(4);
    Tick({1, 4});
    h.messages.yesNoAnswers = {MessageAnswer::Yes, MessageAnswer::No};
    h.form.comDelClick();
    EXPECT_FALSE(Exists(1));
    ASSERT_EQ(5u, h.messages.shown.size()) << "two warnings, then the box";
    EXPECT_NE(std::string::npos,
              h.messages.shown[4].text.find("\n\nThe Application log: not written (ReportEventW, status 1722)."))
        << h.messages.shown[4].text;
}

TEST_F(Deletion, YesDeletesDespiteTheError) {
    LockSubkeyOf(2);
    Tick({2});
    h.form.comDelClick();
    ExpectWarning(0, 2);
    EXPECT_FALSE(Exists(2));
    EXPECT_TRUE(BackupError);
    EXPECT_EQ(3, h.list.RowCount());
}

TEST_F(Deletion, TickedRowWhoseKeyIsGoneIsPassedSilently) {
    Tick({1, 2});
    ASSERT_EQ(kSuccess, h.registry.SHDeleteKeyA(kLocalMachine, KeyOf(1)));
    h.form.comDelClick();
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_FALSE(Exists(2));
    EXPECT_EQ("REGEDIT4\r\n\r\n" + Block(KeyOf(2), "two"), h.files.Content(kSmall));
    EXPECT_EQ(2, h.list.RowCount());
}

// A backup that never reached the disk must be reported before anything goes.
TEST_F(Deletion, UnwritableBackupIsWarnedAndNoDeletesNothing) {
    for (bool backupAll : {true, false}) {
        Form1Harness<> fresh;
        ASSERT_EQ(kSuccess, SeedConnection(fresh.registry, KeyOf(1), "one"));
        fresh.form.Load("C:\\Read only folder");
        fresh.form.cmdReadClick();
        fresh.list.SetChecked(0, true);
        fresh.checks.backupAll = backupAll;
        fresh.messages.yesNoAnswers = {MessageAnswer::No};
        fresh.form.comDelClick();
        EXPECT_EQ(2u, fresh.messages.shown.size());
        EXPECT_TRUE(fresh.registry.KeyExists(kLocalMachine, KeyOf(1)));
    }
}

TEST_F(Deletion, ReadOnlySmallBackupIsWarnedAndNoDeletesNothing) {
    h.files.SetContent(kSmall, "REGEDIT4\r\n\r\n");
    h.files.SetReadOnly(kSmall);
    Tick({1});
    h.messages.yesNoAnswers = {MessageAnswer::No};
    h.form.comDelClick();
    ExpectWarning();
    EXPECT_TRUE(Exists(1));
    EXPECT_EQ("REGEDIT4\r\n\r\n", h.files.Content(kSmall));
}

// Clicks that waited in the queue during a long deletion reach the event pass before the rescan.
TEST_F(Deletion, ButtonClicksDuringTheDeletionStartNothing) {
    h.checks.backupAll = true;
    Tick({1});
    int nestedPasses = -1;
    h.pump.during = [&] {
        if (nestedPasses != -1) return;  // the clicks waited once
        nestedPasses = h.pump.passes;
        h.form.comDelClick();
        h.form.cmdReadClick();
        h.form.cmdCopyClick();
    };
    h.form.comDelClick();

    EXPECT_EQ(1, h.pump.passes) << "a nested deletion would pump again";
    EXPECT_EQ(1, nestedPasses);
    EXPECT_TRUE(h.clipboard.texts.empty());
    EXPECT_EQ(1u, Occurrences(*h.files.Content(kLarge), KeyOf(1) + "]")) << "the deleted key's only backup";
    EXPECT_EQ(3, h.list.RowCount());

    h.pump.during = nullptr;
    h.form.cmdCopyClick();
    EXPECT_EQ(1u, h.clipboard.texts.size()) << "the buttons work again afterwards";
}

// A close queued during a long backup reaches the event pass before the
// rescan: the deletion finishes and rescans, then the window closes cleanly.
TEST_F(Deletion, CloseDuringTheEventPassWaitsForTheDeletionToFinish) {
    h.checks.backupAll = true;
    Tick({1, 4});
    h.pump.during = [&] {
        if (h.form.QueryUnload()) h.closer.Close();
    };
    h.form.comDelClick();

    EXPECT_EQ(1, h.closer.closes);
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(4));
    EXPECT_EQ(2, h.list.RowCount()) << "the rescan ran on the list";
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_TRUE(h.exit.codes.empty());
    EXPECT_TRUE(h.form.QueryUnload()) << "an idle window closes at once";
    EXPECT_EQ(1, h.closer.closes);
}

struct FullBackupFailure {
    const char* what;
    std::function<void(MemoryFiles&)> arrange;
    bool draftComplete;  // every tree is in the draft, only its move failed
    bool keptAsDraft;    // and no name of its own could be given
};

// Where a complete draft is kept: a name of its own, which the next full backup leaves alone.
const std::string kKept = std::string(kProgramFolder) + "LargeBackup-20261208-070509.reg";
const std::string kDraft = kLarge + kDraftSuffix;

class FailedFullBackup : public Deletion,
                         public ::testing::WithParamInterface<std::tuple<FullBackupFailure, MessageAnswer>> {};

// The earlier full backup may be the only copy of keys deleted before; a
// complete draft may become the only copy of the keys deleted now, so it is
// kept under a name of its own and the warning names it. Kept under the
// draft's name, the box says to move it before the next full backup.
TEST_P(FailedFullBackup, KeepsTheEarlierOneAndACompleteDraftAndWarns) {
    const auto& [failure, answer] = GetParam();
    const std::string earlier = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\earlier]\r\n\r\n";
    h.files.SetContent(kLarge, earlier);
    failure.arrange(h.files);
    h.checks.backupAll = true;
    Tick({1});
    h.messages.yesNoAnswers = {answer};
    h.form.comDelClick();

    EXPECT_EQ(earlier, h.files.Content(kLarge));
    const std::string keptAs = failure.keptAsDraft ? kDraft : kKept;
    const bool draftLeft = failure.keptAsDraft && answer == MessageAnswer::Yes;
    EXPECT_EQ(draftLeft, h.files.Content(kDraft).has_value()) << "only a draft the deletion went ahead with stays";
    std::optional<std::string> kept = h.files.Content(keptAs);
    if (failure.draftComplete) {
        ASSERT_FALSE(h.messages.shown.empty());
        EXPECT_EQ(kKeptAsideText + keptAs + "." + (failure.keptAsDraft ? kMoveDraftText : ""),
                  h.messages.shown[0].text);
        ExpectWarning(1);
        if (failure.keptAsDraft && answer == MessageAnswer::No) {
            EXPECT_FALSE(kept) << "nothing was deleted: the stopped draft goes";
        } else {
            ASSERT_TRUE(kept) << "the only complete backup was thrown away";
            EXPECT_EQ(1u, Occurrences(*kept, "[HKEY_LOCAL_MACHINE\\" + KeyOf(1) + "]"));
            EXPECT_EQ(4u, Occurrences(*kept, "\\Connection]"));
        }
    } else {
        ExpectWarning();
        EXPECT_FALSE(h.files.Content(kKept)) << "an incomplete draft could pass for a backup";
    }
    EXPECT_EQ(answer == MessageAnswer::No, Exists(1));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailedFullBackup,
    ::testing::Combine(
        ::testing::Values(
            FullBackupFailure{"DiskFull",
                              [](MemoryFiles& files) {
                                  files.LimitFaultsTo(kDraft);
                                  files.SetFreeSpace(200);
                              },
                              false, false},
            FullBackupFailure{"CloseFails",
                              [](MemoryFiles& files) {
                                  files.LimitFaultsTo(kDraft);
                                  files.FailNextClose();
                              },
                              false, false},
            FullBackupFailure{"DraftCannotBeOpened", [](MemoryFiles& files) { files.SetReadOnly(kDraft); }, false,
                              false},
            FullBackupFailure{"ReplaceFails", [](MemoryFiles& files) { files.FailNextReplace(); }, true, false},
            FullBackupFailure{"OldBackupReadOnly", [](MemoryFiles& files) { files.SetReadOnly(kLarge); }, true,
                              false},
            FullBackupFailure{"NoNameOfItsOwn",
                              [](MemoryFiles& files) {
                                  files.SetReadOnly(kLarge);
                                  files.FailRenames();
                              },
                              true, true}),
        ::testing::Values(MessageAnswer::No, MessageAnswer::Yes)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).what) +
               (std::get<1>(info.param) == MessageAnswer::Yes ? "AnsweredYes" : "AnsweredNo");
    });

TEST_F(Deletion, SuccessfulFullBackupReplacesTheEarlierOneAndLeavesNoDraft) {
    h.files.SetContent(kLarge, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\earlier]\r\n\r\n");
    h.checks.backupAll = true;
    h.form.comDelClick();
    std::string large = *h.files.Content(kLarge);
    EXPECT_EQ(0u, Occurrences(large, "earlier"));
    EXPECT_EQ(4u, Occurrences(large, "\\Connection]"));
    EXPECT_FALSE(h.files.Content(kLarge + kDraftSuffix));
    EXPECT_TRUE(h.messages.shown.empty());
}

// A backup's name that another user left as a link, or as a second name of a
// file only administrators may write: the elevated program must not write
// through it.
struct PlantedLink {
    const char* what;
    std::string name;
    bool backupAll;
    bool warned;  // the link is refused; otherwise it loses its name to the backup
};

class LinkedBackupFile : public Deletion, public ::testing::WithParamInterface<PlantedLink> {};

TEST_P(LinkedBackupFile, NeverWritesThroughIt) {
    const std::string victim = "C:\\Windows\\system.ini";
    const std::string victimText = "[boot loader]\r\ntimeout=30\r\n";
    h.files.AddFolder("C:\\Windows\\");
    h.files.SetContent(victim, victimText);
    h.files.AddLink(kProgramFolder + GetParam().name, victim);
    h.checks.backupAll = GetParam().backupAll;
    Tick({1});
    h.messages.yesNoAnswers = {MessageAnswer::No};
    h.form.comDelClick();

    EXPECT_EQ(victimText, h.files.Content(victim));
    if (GetParam().warned) {
        ExpectWarning();
        EXPECT_TRUE(Exists(1));
    } else {
        EXPECT_TRUE(h.messages.shown.empty());
        EXPECT_FALSE(Exists(1));
        EXPECT_EQ(1u, Occurrences(h.files.Content(kLarge).value_or(""), KeyOf(1) + "]"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LinkedBackupFile,
    ::testing::Values(PlantedLink{"SmallBackup", kSmallBackupFile, false, true},
                      PlantedLink{"LargeBackup", kLargeBackupFile, true, false},
                      PlantedLink{"Draft", kLargeBackupFile + std::string(kDraftSuffix), true, false}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

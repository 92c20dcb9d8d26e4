#include "core/connection_deletion.h"
#include "export/backup_error.h"
#include "support/fake_devices.h"
#include "support/reached_outcomes.h"
#include "support/seed_connection.h"
#include "support/test_services.h"
#include "support/utf16_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

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
        return goOn;
    }
    void KeptAside(const BackupProblem& problem) override { keptAside.push_back(problem); }
    std::vector<BackupProblem> problems;
    std::vector<BackupProblem> keptAside;
    bool goOn = true;
};

// The entries alone, as planned when nothing else is asked for.
DeletionReport DeleteEntries(const Services& services, const std::vector<AnsiText>& keys, BackupMode mode,
                             BackupWarning& warning) {
    return DeleteAsPlanned(services, PlanDeletion(services, keys, {}), mode, warning, kFolder);
}

const std::string kSet = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
const std::vector<AnsiText> kKeys = {kSet + "{1}", kSet + "{2}", kSet + "{3}"};

// What goes wrong with the backups, and what the deletion must then do.
struct DeletionCase {
    const char* what;
    BackupMode mode;
    std::function<void(MemoryRegistry&, MemoryFiles&)> arrange;
    bool goOn;                                    // the answer to every warning
    std::vector<std::pair<bool, bool>> problems;  // each warning's written and complete
    std::vector<bool> incomplete;                 // per key reached: deleted past an incomplete backup
    bool stopped;
    bool smallBackupBefore = true;  // SmallBackup.reg holds an earlier run's block
    Regedit4Loss loss = Regedit4Loss::Warned;
    std::string inSmallBackup = {};  // a line SmallBackup.reg holds after the run
};

const std::string kEarlier = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\earlier]\r\n\r\n";
const std::string kRunFile = kFolder + std::string("Tarvex-20261208-070509.reg");

bool HasBlock(const std::string& file, const std::string& key) {
    return file.find("[HKEY_LOCAL_MACHINE\\" + key + "]") != std::string::npos;
}

class DeletionBackups : public ::testing::TestWithParam<DeletionCase> {};

TEST_P(DeletionBackups, AskOnlyAboutWhatIsWrongAndMarkWhatWentWithoutAWholeCopy) {
    MemoryRegistry registry;
    for (const AnsiText& key : kKeys) ASSERT_EQ(kSuccess, SeedConnection(registry, key, "name"));
    FakeDevices devices;
    TestServices test(registry, devices);
    test.files.AddFolder(kFolder);
    const std::string small = kFolder + std::string(kSmallBackupFile);
    if (GetParam().smallBackupBefore) test.files.SetContent(small, kEarlier);
    GetParam().arrange(registry, test.files);
    RecordingWarning warning;
    warning.goOn = GetParam().goOn;

    const DeletionReport report =
        DeleteAsPlanned(test.services, PlanDeletion(test.services, kKeys, {}), GetParam().mode, warning, kFolder,
                        GetParam().loss);

    std::vector<std::pair<bool, bool>> problems;
    for (const BackupProblem& problem : warning.problems) problems.emplace_back(problem.written, problem.complete);
    EXPECT_EQ(GetParam().problems, problems);
    std::vector<bool> incomplete;
    const std::vector<Outcome> reached = KeysReached(report);
    for (const Outcome& key : reached) {
        EXPECT_EQ(Fate::Deleted, key.fate);
        EXPECT_FALSE(registry.KeyExists(kLocalMachine, key.what));
        incomplete.push_back(key.backupIncomplete);
    }
    EXPECT_EQ(GetParam().incomplete, incomplete);
    EXPECT_EQ(GetParam().stopped, report.stopped);
    for (std::size_t i = reached.size(); i < kKeys.size(); ++i) EXPECT_TRUE(registry.KeyExists(kLocalMachine, kKeys[i]));
    EXPECT_EQ(GetParam().mode == BackupMode::None, test.files.OpenCount() == 0);
    // No backup holds a block for a key the run did not delete; the run's own file holds each it did.
    const std::optional<std::string> smallAfter = test.files.Content(small);
    EXPECT_EQ(GetParam().smallBackupBefore, smallAfter.has_value()) << "as it was before the run";
    EXPECT_EQ(0u, smallAfter.value_or(kEarlier).find(GetParam().smallBackupBefore ? kEarlier : "REGEDIT4"));
    const bool runFileWritten = GetParam().mode != BackupMode::None && !reached.empty() &&
                                (GetParam().problems.empty() || GetParam().problems.front().first);
    EXPECT_EQ(runFileWritten, test.files.Content(kRunFile).has_value()) << "kept only when it holds what went";
    const std::string runFile = Utf16ToUtf8(Utf16FromLeBytes(test.files.Content(kRunFile).value_or("")));
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        EXPECT_FALSE(i >= reached.size() && HasBlock(smallAfter.value_or(""), kKeys[i])) << kKeys[i];
        EXPECT_EQ(i < reached.size() && runFileWritten, HasBlock(runFile, kKeys[i])) << kKeys[i];
    }
    for (const AnsiText& key : report.leftToRunFile) EXPECT_FALSE(HasBlock(smallAfter.value_or(""), key)) << key;
    EXPECT_NE(std::string::npos, smallAfter.value_or("").find(GetParam().inSmallBackup));
    for (const Utf8Text& file : report.backups) EXPECT_TRUE(test.files.Content(file).has_value()) << file;
    // Rewritten through a draft only when it holds more than went.
    EXPECT_EQ(runFileWritten && reached.size() < kKeys.size(), test.files.OpenCountOf(kRunFile + ".tmp") != 0);
}

void LockSecondKey(MemoryRegistry& registry, MemoryFiles&) {
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kKeys[1] + "\\Locked"));
    registry.SetRights(kLocalMachine, kKeys[1] + "\\Locked", {.canRead = false});
}

void FirstBlockOnly(MemoryRegistry&, MemoryFiles& files) { files.SetFreeSpace(200); }

// What a REGEDIT4 block in the ANSI code page cannot hold exactly; the run's
// own file holds all but a line break in a name.
enum class Lost { ValueName, Text, OddLengthText, SubkeyName, LineBreakInAName };

std::function<void(MemoryRegistry&, MemoryFiles&)> LostOf(std::size_t key, Lost what) {
    return [key, what](MemoryRegistry& registry, MemoryFiles&) {
        const std::string connection = kKeys[key] + "\\Connection";
        const std::string name = "\xD0\x98\xD0\xBC\xD1\x8F";  // Имя
        const std::string x = Utf16Le("x") + std::string(2, '\0');
        switch (what) {
            case Lost::ValueName:
                ASSERT_EQ(kSuccess, registry.SetValueWide(kLocalMachine, connection, name, kRegSz, x));
                break;
            case Lost::Text:
                ASSERT_EQ(kSuccess, registry.SetValueWide(kLocalMachine, connection, "Text", kRegSz,
                                                          Utf16Le(name) + std::string(2, '\0')));
                break;
            case Lost::OddLengthText:
                ASSERT_EQ(kSuccess, registry.SetValueWide(kLocalMachine, connection, "Odd", kRegSz, "x\0y"s));
                break;
            case Lost::SubkeyName:
                ASSERT_EQ(kSuccess, registry.CreateKeyWide(kLocalMachine, connection + "\\" + name));
                break;
            case Lost::LineBreakInAName:
                ASSERT_EQ(kSuccess, registry.SetValueWide(kLocalMachine, connection, "Two\nlines", kRegSz, x));
                break;
        }
    };
}

std::function<void(MemoryRegistry&, MemoryFiles&)> NameLostOf(std::size_t key) { return LostOf(key, Lost::ValueName); }

// A name the code page lacks, in a key the run's own file cannot hold whole either.
void NameLostAndLockedKey(MemoryRegistry& registry, MemoryFiles& files) {
    NameLostOf(1)(registry, files);
    LockSecondKey(registry, files);
}

// The run's own file cannot be made; nothing else fails.
void RunFileRefused(MemoryRegistry& registry, MemoryFiles& files) {
    NameLostOf(0)(registry, files);
    files.LimitFaultsTo(kRunFile);
    files.FailOpensFrom(1);
}

constexpr Regedit4Loss kToRunFile = Regedit4Loss::LeftToRunFile;

void Nothing(MemoryRegistry&, MemoryFiles&) {}

INSTANTIATE_TEST_SUITE_P(
    Modes, DeletionBackups,
    ::testing::Values(
        DeletionCase{"SelectiveWhole", BackupMode::Selective, Nothing, true, {}, {false, false, false}, false},
        // The run's own file is asked about first, before anything is deleted.
        DeletionCase{"SelectiveKeyUnreadableGoOn", BackupMode::Selective, LockSecondKey, true,
                     {{true, false}, {true, false}}, {false, true, false}, false},
        DeletionCase{"SelectiveKeyUnreadableStop", BackupMode::Selective, LockSecondKey, false, {{true, false}}, {},
                     true},
        DeletionCase{"SelectiveStopTakesBackTheBlock", BackupMode::Selective, NameLostOf(1), false, {{true, false}},
                     {false}, true},
        DeletionCase{"SelectiveStopAtTheFirstLeavesNoFile", BackupMode::Selective, NameLostOf(0), false,
                     {{true, false}}, {}, true, false},
        DeletionCase{"SelectiveStopAtATextTheCodePageLacks", BackupMode::Selective, LostOf(1, Lost::Text), false,
                     {{true, false}}, {false}, true},
        DeletionCase{"SelectiveStopAtAnOddLengthText", BackupMode::Selective, LostOf(1, Lost::OddLengthText), false,
                     {{true, false}}, {false}, true},
        DeletionCase{"SelectiveStopAtASubkeyNameTheCodePageLacks", BackupMode::Selective, LostOf(1, Lost::SubkeyName),
                     false, {{true, false}}, {false}, true},
        // Past the warning, the text as the ANSI calls give it.
        DeletionCase{"SelectiveGoOnWritesStandIns", BackupMode::Selective, LostOf(1, Lost::Text), true, {{true, false}},
                     {false, true, false}, false, true, Regedit4Loss::Warned, "\"Text\"=\"???\""},
        // What only the run's own file holds exactly is left to it, unasked.
        DeletionCase{"RunsOwnFileHoldsAValueName", BackupMode::Selective, NameLostOf(1), false, {},
                     {false, false, false}, false, true, kToRunFile},
        DeletionCase{"RunsOwnFileHoldsAText", BackupMode::Selective, LostOf(1, Lost::Text), false, {},
                     {false, false, false}, false, true, kToRunFile},
        DeletionCase{"RunsOwnFileHoldsAnOddLengthText", BackupMode::Selective, LostOf(1, Lost::OddLengthText), false,
                     {}, {false, false, false}, false, true, kToRunFile},
        DeletionCase{"RunsOwnFileHoldsASubkeyName", BackupMode::Selective, LostOf(1, Lost::SubkeyName), false, {},
                     {false, false, false}, false, true, kToRunFile},
        // Neither file holds a line break in a name: both are asked about, and the key went without a whole copy.
        DeletionCase{"NoFileHoldsALineBreakInAName", BackupMode::Selective, LostOf(1, Lost::LineBreakInAName), true,
                     {{true, false}, {true, false}}, {false, true, false}, false, true, kToRunFile},
        DeletionCase{"NameLostInAKeyNoFileHoldsWhole", BackupMode::Selective, NameLostAndLockedKey, true,
                     {{true, false}, {true, false}}, {false, true, false}, false, true, kToRunFile},
        DeletionCase{"RunsOwnFileNotMadeLeavesNothingToIt", BackupMode::Selective, RunFileRefused, true,
                     {{false, true}, {true, false}}, {true, false, false}, false, true, kToRunFile},
        DeletionCase{"SelectiveDiskFullGoOn", BackupMode::Selective, FirstBlockOnly, true,
                     {{false, true}, {false, false}, {false, false}}, {false, true, true}, false},
        DeletionCase{"FullWhole", BackupMode::Full, Nothing, true, {}, {false, false, false}, false},
        DeletionCase{"FullKeyUnreadableGoOn", BackupMode::Full, LockSecondKey, true, {{true, false}, {true, false}},
                     {true, true, true}, false},
        DeletionCase{"FullKeyUnreadableStop", BackupMode::Full, LockSecondKey, false, {{true, false}}, {}, true},
        DeletionCase{"FullDiskFull", BackupMode::Full, FirstBlockOnly, false, {{false, true}}, {}, true},
        DeletionCase{"NoneWritesNothing", BackupMode::None, LockSecondKey, true, {}, {false, false, false}, false}),
    [](const auto& info) { return info.param.what; });

// The hourglass shows once for the whole run, not once per backup; while the
// user is asked, the pointer is the one the run began with.
TEST(DeletionPointer, ShowsTheHourglassOnceAndNotWhileTheUserIsAsked) {
    MemoryRegistry registry;
    for (const AnsiText& key : kKeys) ASSERT_EQ(kSuccess, SeedConnection(registry, key, "name"));
    FakeDevices devices;
    TestServices test(registry, devices);
    test.files.AddFolder(kFolder);
    LockSecondKey(registry, test.files);
    struct PointerAtQuestion final : BackupWarning {
        explicit PointerAtQuestion(const RecordingPointer& pointer) : pointer(pointer) {}
        bool GoOnWithoutFullBackup(const BackupProblem&) override {
            shown.push_back(pointer.current);
            return true;
        }
        void KeptAside(const BackupProblem&) override {}
        const RecordingPointer& pointer;
        std::vector<int> shown;
    } warning(test.pointer);

    DeleteEntries(test.services, kKeys, BackupMode::Selective, warning);

    EXPECT_EQ((std::vector<int>{kDefaultPointer, kDefaultPointer}), warning.shown) << "the run's file, then the key's";
    EXPECT_EQ((std::vector<int>{kHourglassPointer, kDefaultPointer, kHourglassPointer, kDefaultPointer, kHourglassPointer,
                                kDefaultPointer}),
              test.pointer.history);
}

struct KeptCase {
    const char* what;
    std::vector<std::string> taken;  // names already beside the old backup
    bool renameFails;
    std::string keptAs;
    bool lasting;  // no later full backup removes it
};

class KeptFullBackup : public ::testing::TestWithParam<KeptCase> {};

// A complete full backup that cannot replace the last one gets a name the
// next full backup leaves alone; only when even that fails does it stay the draft.
TEST_P(KeptFullBackup, TakesTheFirstFreeDatedName) {
    MemoryRegistry registry;
    ASSERT_EQ(kSuccess, SeedConnection(registry, kKey, "one"));
    FakeDevices devices;
    TestServices test(registry, devices);
    MemoryFiles& files = test.files;
    files.AddFolder(kFolder);
    files.SetContent(kLarge, "REGEDIT4\r\n\r\n");
    files.SetReadOnly(kLarge);
    for (const std::string& name : GetParam().taken) files.SetContent(kFolder + name, "earlier");
    if (GetParam().renameFails) files.FailRenames();
    RecordingWarning warning;

    DeletionReport report = DeleteEntries(test.services, {kKey}, BackupMode::Full, warning);

    ASSERT_EQ(1u, warning.keptAside.size());
    ASSERT_EQ(1u, warning.problems.size()) << "asked after being told where it is";
    const BackupProblem& problem = warning.problems[0];
    EXPECT_TRUE(problem.keptAside && problem.written && problem.complete);
    EXPECT_EQ(GetParam().lasting, problem.lasting);
    EXPECT_EQ(kFolder + GetParam().keptAs, problem.file);
    EXPECT_EQ(problem.file, warning.keptAside[0].file);
    EXPECT_NE(std::string::npos, files.Content(problem.file).value_or("").find(kKey + "]"));
    for (const std::string& name : GetParam().taken) EXPECT_EQ("earlier", files.Content(kFolder + name));
    ASSERT_EQ(1u, KeysReached(report).size());
    EXPECT_EQ(!GetParam().lasting, KeysReached(report)[0].backupIncomplete) << "only a lasting backup counts as one";
}

INSTANTIATE_TEST_SUITE_P(
    Names, KeptFullBackup,
    ::testing::Values(KeptCase{"Free", {}, false, "LargeBackup-20261208-070509.reg", true},
                      KeptCase{"TakenTwice",
                               {"LargeBackup-20261208-070509.reg", "LargeBackup-20261208-070509-2.reg"},
                               false,
                               "LargeBackup-20261208-070509-3.reg",
                               true},
                      KeptCase{"RenameFails", {}, true, "LargeBackup.reg.tmp", false}),
    [](const auto& info) { return info.param.what; });

// How a full backup meets the last one, by what went wrong and the answer.
struct FullBackupCase {
    const char* what;
    bool incomplete;     // a key of the trees cannot be read
    bool cannotReplace;  // LargeBackup.reg is read-only
    bool renameFails;
    bool goOn;
    std::string largeAfter;           // "earlier" or "new"
    std::optional<std::string> kept;  // the file the backup is left in beside LargeBackup.reg
    int questions;
    std::vector<std::string> backups;  // what the report names as written
};

class FullBackupOrder : public ::testing::TestWithParam<FullBackupCase> {};

// The last full backup may hold the only copy of keys deleted before: a new
// one takes its place only once the run goes ahead, and a stop removes the draft.
TEST_P(FullBackupOrder, ReplacesTheLastOneOnlyWhenTheRunGoesAhead) {
    const FullBackupCase& c = GetParam();
    MemoryRegistry registry;
    for (const AnsiText& key : kKeys) ASSERT_EQ(kSuccess, SeedConnection(registry, key, "name"));
    FakeDevices devices;
    TestServices test(registry, devices);
    MemoryFiles& files = test.files;
    files.AddFolder(kFolder);
    const std::string earlier = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\earlier]\r\n\r\n";
    files.SetContent(kLarge, earlier);
    if (c.incomplete) LockSecondKey(registry, files);
    if (c.cannotReplace) files.SetReadOnly(kLarge);
    if (c.renameFails) files.FailRenames();
    RecordingWarning warning;
    warning.goOn = c.goOn;

    const DeletionReport report = DeleteEntries(test.services, {kKeys[0]}, BackupMode::Full, warning);

    const std::string large = files.Content(kLarge).value_or("");
    EXPECT_EQ(c.largeAfter == "earlier", large == earlier);
    EXPECT_EQ(c.largeAfter == "new", large.find(kKeys[0] + "]") != std::string::npos);
    const std::string draft = kLarge + kDraftSuffix;
    EXPECT_EQ(c.kept == draft, files.Content(draft).has_value()) << "a draft left behind";
    if (c.kept) {
        EXPECT_NE(std::string::npos, files.Content(*c.kept).value_or("").find(kKeys[0] + "]"));
    }
    EXPECT_EQ(c.questions, static_cast<int>(warning.problems.size()));
    EXPECT_EQ(c.goOn, !registry.KeyExists(kLocalMachine, kKeys[0]));
    EXPECT_EQ(!c.goOn, report.stopped);
    EXPECT_EQ(c.backups, report.backups);
}

const std::string kDated = kFolder + std::string("LargeBackup-20261208-070509.reg");
const std::string kDraft = kLarge + kDraftSuffix;

INSTANTIATE_TEST_SUITE_P(
    Answers, FullBackupOrder,
    ::testing::Values(
        FullBackupCase{"IncompleteStopped", true, false, false, false, "earlier", std::nullopt, 1, {}},
        FullBackupCase{"IncompleteGoneOn", true, false, false, true, "new", std::nullopt, 1, {kRunFile, kLarge}},
        FullBackupCase{"IncompleteGoneOnCannotReplace", true, true, false, true, "earlier", kDated, 1,
                       {kRunFile, kDated}},
        // Whole and lasting, it stays a backup whatever the answer.
        FullBackupCase{"WholeKeptAsideStopped", false, true, false, false, "earlier", kDated, 1, {kDated}},
        FullBackupCase{"WholeKeptAsDraftStopped", false, true, true, false, "earlier", std::nullopt, 1, {}},
        FullBackupCase{"WholeKeptAsDraftGoneOn", false, true, true, true, "earlier", kDraft, 1, {kRunFile, kDraft}},
        FullBackupCase{"Whole", false, false, false, true, "new", std::nullopt, 0, {kRunFile, kLarge}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

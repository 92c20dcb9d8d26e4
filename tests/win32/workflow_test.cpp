// Deletion with backup and the table copy, through the real window, message
// boxes, clipboard, files and (end to end) the real registry.
#include "core/app_folder.h"
#include "core/connection_deletion.h"
#include "file_bytes.h"
#include "message_box_robot.h"
#include "registry_snapshot.h"
#include "support/memory_registry.h"
#include "support/run_program.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"
#include "core/ipv4_settings.h"
#include "registry/mod_reg.h"
#include "support/network_devices.h"
#include "support/win32_registry_writer.h"
#include "win32/control_layout.h"
#include "win32/main_window.h"
#include "win32/program_folder.h"
#include "win32/wide_text.h"
#include "win32/win32_clipboard.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_registry.h"
#include "window/deletion.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace tarvex {
namespace {

using namespace std::string_literals;

std::wstring ClipboardText() {
    if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
    std::wstring text = L"<no text>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string ClipboardAnsiBytes() {
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

LCID ClipboardLocale() {
    if (!OpenClipboard(nullptr)) return 0;
    LCID locale = 0;
    if (HANDLE data = GetClipboardData(CF_LOCALE)) {
        locale = *static_cast<const LCID*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return locale;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

constexpr char kNetwork[] = "SYSTEM\\CurrentControlSet\\Control\\Network";
constexpr char kNetwork001[] = "SYSTEM\\ControlSet001\\Control\\Network";
constexpr char kTestClass[] = "{7E57C1A5-0000-4000-8000-00000000C1A5}";

std::string ConnectionKey(const char* network, int number) {
    char name[64];
    std::snprintf(name, sizeof name, "{7E57%04d-0000-4000-8000-000000000000}", number);
    return std::string(network) + "\\" + kTestClass + "\\" + name;
}

// The main window over a given registry, with the backups of a test removed.
class WorkflowTest : public ::testing::Test {
protected:
    template <typename Registry>  // read as the backup and as whole text
    explicit WorkflowTest(Registry& registry) : assembled_(registry, registry, exit_) {}
    void SetUp() override {
        window_.Create();
        window_.Show(SW_SHOWNORMAL);
        Pump();
        RemoveBackups();
    }
    void TearDown() override {
        DestroyWindow(window_.hwnd());
        Pump();
        RemoveBackups();
    }
    void RemoveBackups() {
        for (const std::wstring& undo : UndoFiles()) DeleteFileW(undo.c_str());
        DeleteFileW(Utf8ToWide(Backup(kSmallBackupFile)).c_str());
        DeleteFileW(Utf8ToWide(Backup(kLargeBackupFile)).c_str());
        DeleteFileW(Utf8ToWide(Backup(kLargeBackupFile) + kDraftSuffix).c_str());
    }
    static std::vector<std::wstring> UndoFiles() {
        std::vector<std::wstring> files;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(Utf8ToWide(AppFolder() + "HandOver-*.reg").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            files.push_back(Utf8ToWide(AppFolder()) + found.cFileName);
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        return files;
    }
    // Backups go beside the program, as Load was told.
    static std::string AppFolder() { return MakeAppFolder(ExecutableFolder()); }
    static std::string Backup(const char* file) { return AppFolder() + file; }
    void Press(int id) {
        SendMessageW(window_.Control(id), BM_CLICK, 0, 0);
        Pump();
    }
    void TickRowsOf(const std::vector<std::string>& keys) {
        for (int row = 0; row < list_.RowCount(); ++row) {
            for (const std::string& key : keys) {
                if (list_.RowText(row) == key) list_.SetChecked(row, true);
            }
        }
    }

    RecordingExit exit_;
    AssembledWindow assembled_;
    MainWindow& window_ = assembled_.window;
    ConnectionList& list_ = assembled_.controls.list;
};

class WorkflowOverMemory : public WorkflowTest {
protected:
    WorkflowOverMemory() : WorkflowTest(registry_) {}
    void SetUp() override {
        for (int number : {1, 2, 3}) {
            ASSERT_EQ(kSuccess, SeedConnection(registry_, ConnectionKey(kNetwork, number), "Net " + std::to_string(number)));
        }
        WorkflowTest::SetUp();
    }
    bool Exists(int number) { return registry_.KeyExists(kLocalMachine, ConnectionKey(kNetwork, number)); }
    // Scans, ticks one connection, presses Delete and answers a warning No; what the boxes showed.
    std::vector<SeenBox> DeleteAnsweringNo(int number) {
        Press(kCmdReadId);
        TickRowsOf({ConnectionKey(kNetwork, number)});
        MessageBoxRobot robot({IDOK, IDNO});
        Press(kComDelId);
        return robot.seen();
    }

    MemoryRegistry registry_;
};

const std::wstring kTitle = L"Tarvex Manager";

void ExpectBackupWarning(const std::vector<SeenBox>& seen) {
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(kTitle, seen[0].title);
    EXPECT_EQ(Utf8ToWide(kBackupErrorText), seen[0].text);
    EXPECT_EQ(LoadIconW(nullptr, IDI_ERROR), seen[0].icon);
    EXPECT_EQ(std::vector<int>{IDOK}, seen[0].buttons);
    EXPECT_EQ(IDOK, seen[0].defaultButton);

    EXPECT_EQ(kTitle, seen[1].title);
    EXPECT_EQ(Utf8ToWide(kContinueText), seen[1].text);
    EXPECT_EQ(nullptr, seen[1].icon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), seen[1].buttons);
    EXPECT_EQ(IDYES, seen[1].defaultButton);
}

TEST_F(WorkflowOverMemory, BackupWarningAnsweredNoDeletesNothing) {
    ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, ConnectionKey(kNetwork, 1) + "\\Locked"));
    registry_.SetRights(kLocalMachine, ConnectionKey(kNetwork, 1) + "\\Locked", {.canRead = false});
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1), ConnectionKey(kNetwork, 2)});

    MessageBoxRobot robot({IDOK, IDNO});
    Press(kComDelId);
    ExpectBackupWarning(robot.seen());
    EXPECT_TRUE(Exists(1));
    EXPECT_TRUE(Exists(2));
    EXPECT_EQ(3, list_.RowCount());
    EXPECT_TRUE(list_.IsChecked(0));
    EXPECT_TRUE(exit_.codes.empty());
}

TEST_F(WorkflowOverMemory, BackupWarningAnsweredYesDeletesAndRescans) {
    Press(kChkBackupId);  // the full backup now, and it meets the locked key
    ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, ConnectionKey(kNetwork, 3) + "\\Locked"));
    registry_.SetRights(kLocalMachine, ConnectionKey(kNetwork, 3) + "\\Locked", {.canRead = false});
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1), ConnectionKey(kNetwork, 2)});

    MessageBoxRobot robot({IDOK, IDYES});
    Press(kComDelId);
    ExpectBackupWarning(robot.seen());
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(2));
    ASSERT_EQ(1, list_.RowCount());
    EXPECT_EQ(ConnectionKey(kNetwork, 3), list_.RowText(0));
    EXPECT_FALSE(list_.IsChecked(0));
    HANDLE large = CreateFileW(Utf8ToWide(Backup(kLargeBackupFile)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, large);
    CloseHandle(large);
}

// The last full backup may hold the only copy of keys deleted before.
TEST_F(WorkflowOverMemory, FullBackupAnsweredNoLeavesTheLastOneAsItWas) {
    const std::wstring large = Utf8ToWide(Backup(kLargeBackupFile));
    ASSERT_TRUE(WriteFileBytes(large, "earlier"));
    ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, ConnectionKey(kNetwork, 1) + "\\Locked"));
    registry_.SetRights(kLocalMachine, ConnectionKey(kNetwork, 1) + "\\Locked", {.canRead = false});
    Press(kChkBackupId);
    ExpectBackupWarning(DeleteAnsweringNo(2));
    EXPECT_TRUE(Exists(2));
    EXPECT_EQ("earlier", FileBytes(large));
    EXPECT_FALSE(FileBytes(large + Utf8ToWide(kDraftSuffix)));
}

// The question before an uninstall no backup can undo: No is its default.
TEST_F(WorkflowOverMemory, UninstallQuestionHasTheWarningIconAndNoAsItsDefault) {
    MessageBoxRobot robot({IDNO});
    EXPECT_EQ(MessageAnswer::No, assembled_.controls.messages.Show(UninstallQuestion(2), MessageIcon::Warning,
                                                                   MessageButtons::YesNoDefaultNo));
    ASSERT_EQ(1u, robot.seen().size());
    const SeenBox& box = robot.seen()[0];
    EXPECT_EQ(kTitle, box.title);
    EXPECT_EQ(0u, box.text.find(L"2 absent adapters will be uninstalled. No backup can bring"));
    EXPECT_EQ(LoadIconW(nullptr, IDI_WARNING), box.icon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons);
    EXPECT_EQ(IDNO, box.defaultButton);
}

TEST_F(WorkflowOverMemory, BackupFileHeldByAnotherProgramIsWarnedAndNoDeletesNothing) {
    HANDLE held = CreateFileW(Utf8ToWide(Backup(kSmallBackupFile)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    std::vector<SeenBox> seen = DeleteAnsweringNo(2);
    CloseHandle(held);
    ExpectBackupWarning(seen);
    EXPECT_TRUE(Exists(2));
}

// A second press queued while the first deletion runs reaches its event pass before the rescan.
TEST_F(WorkflowOverMemory, QueuedSecondDeletionStartsNothingAndKeepsTheFullBackup) {
    Press(kChkBackupId);
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1)});
    PostMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(kComDelId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_.Control(kComDelId)));
    Press(kComDelId);

    EXPECT_FALSE(Exists(1));
    EXPECT_EQ(2, list_.RowCount());
    std::string large = FileBytes(Utf8ToWide(Backup(kLargeBackupFile))).value_or("");
    EXPECT_NE(std::string::npos, large.find(ConnectionKey(kNetwork, 1) + "]")) << "the deleted key's only backup";
    EXPECT_FALSE(FileBytes(Utf8ToWide(Backup(kLargeBackupFile) + kDraftSuffix)));
}

// Another program holding the old full backup open keeps the new one from
// taking its place: both stay, the new one under the draft's name.
// Under its own name, the next full backup leaves it alone; the box names it.
TEST_F(WorkflowOverMemory, FullBackupThatCannotTakeThePlaceOfTheOldOneIsWarnedAndKeptBesideIt) {
    const std::wstring large = Utf8ToWide(Backup(kLargeBackupFile));
    HANDLE held = CreateFileW(large.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD written = 0;
    WriteFile(held, "earlier", 7, &written, nullptr);
    Press(kChkBackupId);
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 2)});
    MessageBoxRobot robot({IDOK, IDOK, IDYES});
    Press(kComDelId);
    CloseHandle(held);
    ASSERT_EQ(3u, robot.seen().size());
    const std::wstring named = robot.seen()[0].text;
    const std::wstring prefix = Utf8ToWide(kKeptAsideText) + Utf8ToWide(Backup("LargeBackup-"));
    ASSERT_EQ(0u, named.find(prefix)) << WideToUtf8(named);
    ExpectBackupWarning({robot.seen().begin() + 1, robot.seen().end()});
    EXPECT_FALSE(Exists(2));
    EXPECT_EQ("earlier", FileBytes(large));
    EXPECT_FALSE(FileBytes(large + Utf8ToWide(kDraftSuffix)));
    const std::size_t start = Utf8ToWide(kKeptAsideText).size();
    const std::wstring kept = named.substr(start, named.size() - 1 - start);  // without the closing full stop
    std::string backup = FileBytes(kept).value_or("");
    EXPECT_NE(std::string::npos, backup.find(ConnectionKey(kNetwork, 2) + "]")) << "the deleted key's only backup";
    DeleteFileW(kept.c_str());
}

// Another user may leave a backup's name as a second name of a file only
// administrators may write; the elevated program must not write through it.
class PlantedHardLink : public WorkflowOverMemory {
protected:
    void SetUp() override {
        WorkflowOverMemory::SetUp();
        victim_ = Utf8ToWide(AppFolder()) + L"victim.ini";
        HANDLE file = CreateFileW(victim_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, kVictimText, sizeof kVictimText - 1, &written, nullptr);
        CloseHandle(file);
    }
    void TearDown() override {
        WorkflowOverMemory::TearDown();
        DeleteFileW(victim_.c_str());
    }
    void LinkBackupToVictim(const std::string& backup) {
        ASSERT_TRUE(CreateHardLinkW(Utf8ToWide(backup).c_str(), victim_.c_str(), nullptr));
    }

    static constexpr char kVictimText[] = "[boot loader]\r\ntimeout=30\r\n";
    std::wstring victim_;
};

TEST_F(PlantedHardLink, SmallBackupIsRefusedWarnedAndTheOtherFileKept) {
    LinkBackupToVictim(Backup(kSmallBackupFile));
    ExpectBackupWarning(DeleteAnsweringNo(1));
    EXPECT_TRUE(Exists(1));
    EXPECT_EQ(kVictimText, FileBytes(victim_));
}

TEST_F(PlantedHardLink, LeftOverDraftLosesItsNameAndTheOtherFileKeepsItsBytes) {
    LinkBackupToVictim(Backup(kLargeBackupFile) + kDraftSuffix);
    Press(kChkBackupId);
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1)});
    MessageBoxRobot robot({IDOK, IDNO});
    Press(kComDelId);
    EXPECT_TRUE(robot.seen().empty()) << "the draft was made anew, and the backup is whole";
    EXPECT_FALSE(Exists(1));
    EXPECT_EQ(kVictimText, FileBytes(victim_));
    std::string large = FileBytes(Utf8ToWide(Backup(kLargeBackupFile))).value_or("");
    EXPECT_NE(std::string::npos, large.find(ConnectionKey(kNetwork, 1) + "]"));
}

// Putting the new full backup in place replaces the name and writes nothing
// through it: a linked LargeBackup.reg is no reason to refuse.
TEST_F(PlantedHardLink, FullBackupTakesTheLinkedNameAndLeavesWhatItLedTo) {
    LinkBackupToVictim(Backup(kLargeBackupFile));
    Press(kChkBackupId);
    EXPECT_TRUE(DeleteAnsweringNo(1).empty());
    EXPECT_FALSE(Exists(1));
    EXPECT_EQ(kVictimText, FileBytes(victim_));
    EXPECT_NE(std::string::npos,
              FileBytes(Utf8ToWide(Backup(kLargeBackupFile))).value_or("").find(ConnectionKey(kNetwork, 1) + "]"));
}

// The messages as the program's own loop hands them on.
void PumpAsTheProgram(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchWindowMessage(window, message);
    }
}

// After "Check" is pressed the focus sits on it; typing must not press "Delete Selected".
TEST_F(WorkflowOverMemory, PlainLetterOnTheFocusedButtonPressesNothingButAltDoes) {
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1), ConnectionKey(kNetwork, 2)});
    SetFocus(window_.Control(kCmdReadId));
    for (WPARAM letter : {'d', 'D', 'p', 'c'}) PostMessageW(window_.Control(kCmdReadId), WM_CHAR, letter, 0);
    PumpAsTheProgram(window_.hwnd());
    EXPECT_TRUE(Exists(1));
    EXPECT_TRUE(Exists(2));
    EXPECT_TRUE(list_.IsChecked(0)) << "no rescan either";

    PostMessageW(window_.Control(kCmdReadId), WM_SYSCHAR, 'd', 1 << 29);  // Alt+D
    PumpAsTheProgram(window_.hwnd());
    EXPECT_FALSE(Exists(1));
    EXPECT_FALSE(Exists(2));
}

// A close queued during the backup arrives in the event pass before the rescan.
TEST_F(WorkflowOverMemory, CloseDuringTheDeletionLetsItFinishThenEndsCleanly) {
    Press(kChkBackupId);
    Press(kCmdReadId);
    TickRowsOf({ConnectionKey(kNetwork, 1)});
    PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
    MessageBoxRobot robot({IDOK, IDOK});
    SendMessageW(window_.Control(kComDelId), BM_CLICK, 0, 0);  // no pass of the test's own: it drops the quit

    EXPECT_FALSE(Exists(1));
    EXPECT_TRUE(robot.seen().empty()) << "no error box";
    EXPECT_TRUE(exit_.codes.empty());
    EXPECT_EQ(nullptr, window_.hwnd()) << "the window closed after the deletion";
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam) << "the program's exit code";
}

// Both forms come from the list's own ANSI text, not from a conversion in
// whatever code page the keyboard layout has.
TEST_F(WorkflowOverMemory, CopyPutsTheTableOnTheClipboardAsUnicodeAndAnsiText) {
    ASSERT_EQ(1252u, GetACP());
    ASSERT_EQ(kSuccess, registry_.SetValue(kLocalMachine, ConnectionKey(kNetwork, 2) + "\\Connection", "Name", kRegSz,
                                           "Caf\xE9 \x80\0"s));
    Press(kCmdReadId);
    Press(kCmdCopyId);
    EXPECT_EQ(L"CurrentControlSet\tNet 1\r\nCurrentControlSet\tCaf\u00E9 \u20AC\r\nCurrentControlSet\tNet 3",
              ClipboardText());
    EXPECT_EQ("CurrentControlSet\tNet 1\r\nCurrentControlSet\tCaf\xE9 \x80\r\nCurrentControlSet\tNet 3",
              ClipboardAnsiBytes());
    EXPECT_EQ(GetSystemDefaultLCID(), ClipboardLocale()) << "the ANSI bytes' code page, not the keyboard's";
}

// Each failure says what failed, not that the list control did.
TEST_F(WorkflowOverMemory, ClipboardHeldElsewhereIsNamedInTheError) {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND other = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        OpenClipboard(other);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(other);
    });
    WaitForSingleObject(opened, 10000);
    Win32Clipboard clipboard;
    clipboard.SetOwner(window_.hwnd());
    std::string message;
    try {
        clipboard.SetText("x");
    } catch (const AppError& failure) {
        message = failure.what();
    }
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(0u, message.find("The clipboard could not be opened.")) << message;
}

TEST_F(WorkflowOverMemory, CopyOfAnEmptyListLeavesTheClipboardAlone) {
    PutOnClipboard(L"held before");
    Press(kCmdCopyId);
    EXPECT_EQ(L"held before", ClipboardText());
}

// Seeds both control sets: in wine CurrentControlSet is a key of its own.
class WorkflowOverRealRegistry : public WorkflowTest {
protected:
    WorkflowOverRealRegistry() : WorkflowTest(registry_) {}
    void SetUp() override {
        RemoveSeed();
        for (const char* network : {kNetwork, kNetwork001}) {
            for (int number : {1, 2}) {
                std::string key = ConnectionKey(network, number);
                ASSERT_EQ(kSuccess, SeedConnection(writer_, key, "Seeded " + std::to_string(number),
                                                   "PCI\\VEN_8086&DEV_100E\\3&\"x\""));
                Seed(key + "\\Connection", "MediaSubType", kRegDword, "\1\0\0\0"s);
                Seed(key + "\\Connection", "Config", kRegBinary, std::string(300, '\x3C'));
                Seed(key + "\\Descriptions", "", kRegMultiSz, "Intel\0PRO/1000\0\0"s);
            }
        }
        WorkflowTest::SetUp();
    }
    void TearDown() override {
        WorkflowTest::TearDown();
        RemoveSeed();
    }
    void Seed(const std::string& key, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, key, name, type, bytes));
    }
    void RemoveSeed() {
        for (const char* network : {kNetwork, kNetwork001}) {
            registry_.SHDeleteKeyA(kLocalMachine, std::string(network) + "\\" + kTestClass);
            registry_.SHDeleteKeyA(kLocalMachine, IpSettingsKeys(ConnectionKey(network, 3))[0]);
        }
        registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXWIN");
        registry_.SHDeleteKeyA(kLocalMachine, kAdapterEntries + kNewAdapter);
        registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\"s + kNewDriver);
        registry_.SHDeleteKeyA(kLocalMachine, kNewSettings);
    }
    // Entry 3 in both sets, its adapter gone, with static settings 10.0.0.9.
    void SeedGhost() {
        for (const char* network : {kNetwork, kNetwork001}) {
            const std::string key = ConnectionKey(network, 3);
            ASSERT_EQ(kSuccess, SeedConnection(writer_, key, "Tarvex ghost", "TARVEXWIN\\GONE\\3"));
            ASSERT_EQ(kSuccess, SeedIpSettings(writer_, ControlSetName(key), ConnectionGuid(key), "10.0.0.9"));
        }
    }
    AnsiText NewAddress() {
        AnsiText address;
        ReadValue(registry_, kLocalMachine, kNewSettings, "IPAddress", address);
        return address;
    }

    static constexpr char kNewAdapter[] = "{7E57FFF9-0000-4000-8000-000000000000}";
    static constexpr char kNewId[] = "TARVEXWIN\\NEW\\9";
    static constexpr char kNewDriver[] = "{4d36e972-e325-11ce-bfc1-08002be10318}\\7E59";
    inline static const std::string kNewSettings =
        "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{7e57fff9-0000-4000-8000-000000000000}";

    Win32Registry registry_;
    Win32RegistryWriter writer_;
};

TEST_F(WorkflowOverRealRegistry, SelectiveBackupRestoresTheDeletedKeysExactly) {
    const std::vector<std::string> deleted{ConnectionKey(kNetwork, 1), ConnectionKey(kNetwork001, 2)};
    std::vector<RegistrySnapshot> originals;
    for (const std::string& key : deleted) originals.push_back(Snapshot(registry_, kLocalMachine, key));
    ASSERT_EQ(3u, originals[0].size());

    Press(kCmdReadId);
    const int rowsBefore = list_.RowCount();
    TickRowsOf(deleted);
    MessageBoxRobot robot({IDOK, IDOK});
    Press(kComDelId);
    EXPECT_TRUE(robot.seen().empty());
    EXPECT_EQ(rowsBefore - 2, list_.RowCount());
    for (const std::string& key : deleted) EXPECT_TRUE(Snapshot(registry_, kLocalMachine, key).empty()) << key;
    EXPECT_FALSE(Snapshot(registry_, kLocalMachine, ConnectionKey(kNetwork, 2)).empty());

    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + Utf8ToWide(Backup(kSmallBackupFile)) + L"\""));
    for (std::size_t i = 0; i < deleted.size(); ++i) {
        EXPECT_EQ(originals[i], Snapshot(registry_, kLocalMachine, deleted[i])) << deleted[i];
    }
}

// The adapter that replaced a ticked ghost is asked about once, No the
// default: No deletes as before and leaves it; Yes gives it the settings.
TEST_F(WorkflowOverRealRegistry, HandOverIsAskedAndOnlyYesWritesTheNewAdapter) {
    ASSERT_EQ(kSuccess, SeedNetworkDevice(writer_, kNewId, "Intel(R) I219-V", ""));
    Seed("SYSTEM\\CurrentControlSet\\Enum\\"s + kNewId, "Driver", kRegSz, kNewDriver + "\0"s);
    ASSERT_EQ(kSuccess, SeedPresentAdapter(writer_, kNewAdapter, kNewId, kNewDriver, 0x84, "Tarvex new"));
    Press(kChkIpSettingsId);
    for (const int answer : {IDNO, IDYES}) {
        SeedGhost();
        Press(kCmdReadId);
        TickRowsOf({ConnectionKey(kNetwork, 3), ConnectionKey(kNetwork001, 3)});
        MessageBoxRobot robot({answer, IDOK});
        Press(kComDelId);
        ASSERT_FALSE(robot.seen().empty());
        const SeenBox& question = robot.seen()[0];
        EXPECT_EQ(0u, question.text.find(L"The gone adapter Tarvex ghost (no device) has static IPv4 settings:"))
            << WideToUtf8(question.text);
        EXPECT_EQ(LoadIconW(nullptr, IDI_WARNING), question.icon);
        EXPECT_EQ(IDNO, question.defaultButton);
        EXPECT_TRUE(Snapshot(registry_, kLocalMachine, ConnectionKey(kNetwork, 3)).empty()) << "deleted either way";
        EXPECT_EQ(answer == IDYES ? "10.0.0.9\0"s : "0.0.0.0\0"s, NewAddress());
        EXPECT_EQ(answer == IDYES ? 1u : 0u, UndoFiles().size());
    }
}

}  // namespace
}  // namespace tarvex

// The event log under wine: the source's registration in the registry, the
// message table in both programs, the user's name, and what wine's event
// log calls print of a reported event.
#include "core/run_events.h"
#include "core/exit_codes.h"
#include "file_bytes.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/seed_connection.h"
#include "support/win32_registry_writer.h"
#include "win32/run_identity.h"
#include "win32/wide_text.h"
#include "win32/win32_event_log.h"
#include "win32/win32_registry.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

// Spelled out here rather than taken from the code under test.
constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tarvex";
constexpr wchar_t kThisProgram[] = L"<this program>";  // its path, in the rows below

struct Registration {
    std::optional<std::wstring> messageFile;
    DWORD messageFileType = REG_EXPAND_SZ;
    std::optional<DWORD> typesSupported;

    bool operator==(const Registration&) const = default;
};

void PrintTo(const Registration& r, std::ostream* out) {
    *out << ::testing::PrintToString(r.messageFile) << " of type " << r.messageFileType << ", TypesSupported "
         << ::testing::PrintToString(r.typesSupported);
}

void SeedSourceKey(const Registration& seed) {
    if (seed.messageFile) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"EventMessageFile", seed.messageFileType,
                                                 seed.messageFile->c_str(),
                                                 static_cast<DWORD>((seed.messageFile->size() + 1) * sizeof(wchar_t))));
    }
    const DWORD types = seed.typesSupported.value_or(0);
    if (seed.typesSupported) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"TypesSupported", REG_DWORD, &types,
                                                 sizeof types));
    }
}

Registration ReadSourceKey() {
    Registration found;
    wchar_t text[4096] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"EventMessageFile", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                     RRF_NOEXPAND, &found.messageFileType, text, &size) == ERROR_SUCCESS) {
        found.messageFile = text;
    }
    DWORD types = 0;
    size = sizeof types;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSourceKey, L"TypesSupported", RRF_RT_REG_DWORD, nullptr, &types, &size) ==
        ERROR_SUCCESS) {
        found.typesSupported = types;
    }
    return found;
}

// What the source's key holds before Register (none: no key), and after.
struct RegistrationCase {
    const char* what;
    std::optional<Registration> before;
    Registration after;
};

class SourceRegistration : public ::testing::TestWithParam<RegistrationCase> {
protected:
    void SetUp() override { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSourceKey); }
    void TearDown() override { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSourceKey); }
};

TEST_P(SourceRegistration, WritesThisProgramOnlyWhereNoMessageFileIsThere) {
    if (GetParam().before) {
        ASSERT_NO_FATAL_FAILURE(SeedSourceKey(*GetParam().before));
    }
    Registration expected = GetParam().after;
    if (expected.messageFile == kThisProgram) {
        std::wstring path(32768, L'\0');
        path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
        expected.messageFile = path;
    }
    EXPECT_EQ("written", EventWrittenText(Win32EventLog().Register()));
    EXPECT_EQ(expected, ReadSourceKey());
}

const Registration kWritten{kThisProgram, REG_EXPAND_SZ, 7};
// Another program's file that is there, as a registration of its own would name it.
const Registration kValid{L"%SystemRoot%\\system32\\kernel32.dll", REG_EXPAND_SZ, 4};
const Registration kPlainValid{L"C:\\windows\\system32\\advapi32.dll", REG_SZ, std::nullopt};
// The value may list several files; one there is enough, wherever it stands.
const Registration kSecondOfTwo{L"C:\\Moved\\tarvex.exe;%SystemRoot%\\system32\\advapi32.dll", REG_EXPAND_SZ, 7};
const Registration kFirstOfTwo{L"%SystemRoot%\\system32\\advapi32.dll;C:\\Moved\\tarvex.exe", REG_EXPAND_SZ, 7};

INSTANTIATE_TEST_SUITE_P(
    Keys, SourceRegistration,
    ::testing::Values(RegistrationCase{"MissingKey", std::nullopt, kWritten},
                      RegistrationCase{"KeyWithoutMessageFile", Registration{std::nullopt, REG_EXPAND_SZ, 4}, kWritten},
                      RegistrationCase{"MessageFileGone", Registration{L"C:\\Moved\\tarvex.exe", REG_SZ, 7}, kWritten},
                      RegistrationCase{"MessageFileIsAFolder", Registration{L"%SystemRoot%", REG_EXPAND_SZ, 7}, kWritten},
                      RegistrationCase{"ValidLeftAlone", kValid, kValid},
                      RegistrationCase{"PlainTextWithoutTypesLeftAlone", kPlainValid, kPlainValid},
                      RegistrationCase{"ListWithTheSecondFileThereLeftAlone", kSecondOfTwo, kSecondOfTwo},
                      RegistrationCase{"ListWithTheFirstFileThereLeftAlone", kFirstOfTwo, kFirstOfTwo}),
    [](const auto& info) { return info.param.what; });

// A message of the programs' table as Event Viewer formats it with these
// inserts: whole, or its first line where the row gives only that.
struct MessageCase {
    const char* what;
    std::uint32_t id;
    std::wstring text;
    bool whole = false;
};

class MessageTable : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTable, BothProgramsCarryEveryMessageTheEventsName) {
    const std::vector<std::wstring> inserts{L"one", L"two", L"three", L"four", L"five"};
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& insert : inserts) arguments.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    for (const char* program : {TARVEX_MANAGER_EXE, TARVEX_EXE}) {
        HMODULE module = LoadLibraryExW(FromUnixPath(program).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, module) << program;
        EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCEW(1), RT_MESSAGETABLE)) << program;
        wchar_t text[1024] = {};
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module,
                                            GetParam().id, 0, text, 1024, reinterpret_cast<va_list*>(arguments.data()));
        FreeLibrary(module);
        ASSERT_NE(0u, length) << program << " has no message " << GetParam().id;
        const std::wstring message(text, length);
        EXPECT_EQ(GetParam().text, GetParam().whole ? message : message.substr(0, message.find(L"\r\n"))) << program;
    }
}

std::uint32_t Id(ExitCode code) { return OutcomeEventKind(static_cast<int>(code)).value_or(EventKind{}).id; }

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageTable,
    ::testing::Values(
        MessageCase{"AboutToChange", kAboutToChangeEventId,
                    L"Tarvex is about to change this computer.\r\n\r\nWhat: one\r\nBackups: two\r\nUser: three\r\n"
                    L"Program: four\r\nCommand line: five",
                    true},
        MessageCase{"BackupIncomplete", Id(ExitCode::BackupIncomplete),
                    L"Stopped: a backup was incomplete, so nothing after it was deleted.\r\n\r\none\r\n\r\n"
                    L"User: two\r\nProgram: three\r\nCommand line: four",
                    true},
        MessageCase{"Done", Id(ExitCode::Done), L"Done."},
        MessageCase{"StaleFound", Id(ExitCode::StaleFound), L"Done: stale entries were found."},
        MessageCase{"Usage", Id(ExitCode::Usage), L"Not run: the command line was not understood."},
        MessageCase{"NoAdminRights", Id(ExitCode::NoAdminRights), L"Not run: administrator rights are needed."},
        MessageCase{"DeletionFailed", Id(ExitCode::DeletionFailed),
                    L"Failed: some entries could not be deleted; the rest went ahead."},
        MessageCase{"StaleUnknown", Id(ExitCode::StaleUnknown),
                    L"Not run: the device query failed, so nothing was taken for stale."},
        MessageCase{"DoneWithIncompleteBackup", Id(ExitCode::DoneWithIncompleteBackup),
                    L"Done with a warning: entries were deleted whose backup is incomplete."},
        MessageCase{"Unfinished", Id(ExitCode::Unfinished),
                    L"Unfinished: the output was lost, or the program failed unexpectedly."},
        MessageCase{"HandOverFailed", Id(ExitCode::HandOverFailed),
                    L"Done with a warning: static IP settings were not handed over to a present adapter."},
        MessageCase{"HandOverPartial", Id(ExitCode::HandOverPartial),
                    L"Failed: an adapter's IP settings are half written and could not all be put back."},
        MessageCase{"RestartNeeded", Id(ExitCode::RestartNeeded), L"Done: Windows must restart to finish."}),
    [](const auto& info) { return info.param.what; });

// The user's name in the inserts: DOMAIN\name, else the SID's own text.
struct AccountCase {
    const char* what;
    const wchar_t* sid;  // none: no SID at all
    std::string name;
};

class AccountNames : public ::testing::TestWithParam<AccountCase> {};

TEST_P(AccountNames, NameTheAccountOrElseTheSid) {
    PSID sid = nullptr;
    std::vector<unsigned char> bytes;
    if (GetParam().sid) {
        ASSERT_TRUE(ConvertStringSidToSidW(GetParam().sid, &sid));
        bytes.assign(static_cast<unsigned char*>(sid), static_cast<unsigned char*>(sid) + GetLengthSid(sid));
        LocalFree(sid);
    }
    EXPECT_EQ(GetParam().name, AccountName(bytes));
}

INSTANTIATE_TEST_SUITE_P(Sids, AccountNames,
                         ::testing::Values(AccountCase{"LocalSystem", L"S-1-5-18", "NT AUTHORITY\\SYSTEM"},
                                           AccountCase{"NoSuchAccount", L"S-1-5-21-1-2-3-4242", "S-1-5-21-1-2-3-4242"},
                                           AccountCase{"NoSid", nullptr, ""}),
                         [](const auto& info) { return info.param.what; });

// A text as wine's debug channels print a wide string, which they cut
// after some 200 characters with "...".
bool PrintedAs(const std::string& text, const std::string& printed) {
    std::string quoted = "L\"";
    for (char c : text) quoted += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
    quoted += '"';
    const std::size_t cut = printed.size() >= 100 ? printed.rfind("\"...") : std::string::npos;
    if (cut == printed.size() - 4) return quoted.rfind(printed.substr(0, cut), 0) == 0;
    return printed == quoted;
}

// One event as wine's stubs print it: its type, ID and user SID as
// ReportEventW's arguments, and its inserts as printed.
struct Reported {
    std::string type;
    std::string id;
    std::string sid;
    std::vector<std::string> inserts;
};

// What the programs started since offset reported, in order.
std::vector<Reported> ReportedSince(std::size_t offset) {
    std::vector<Reported> reported;
    std::istringstream printed(FileBytes(FromUnixPath(std::getenv("TARVEX_WINE_DEBUG_FILE"))).value_or("").substr(offset));
    for (std::string line; std::getline(printed, line);) {
        if (line.find(":fixme:advapi:ReportEventW (") != std::string::npos) {
            std::istringstream fields(line.substr(line.find('(') + 1));
            std::vector<std::string> arguments;
            for (std::string field; arguments.size() < 5 && std::getline(fields, field, ',');) arguments.push_back(field);
            reported.push_back({arguments.at(1), arguments.at(3), arguments.at(4), {}});
        }
        const std::size_t insert = line.find(":eventlog:ReportEventW ");
        if (insert != std::string::npos && !reported.empty()) reported.back().inserts.push_back(line.substr(insert + 23));
    }
    return reported;
}

constexpr char kEventClass[] = "{7E57C1A5-0000-4000-8000-00000000E7E0}";

// One stale entry, its adapter gone, in both control sets (wine keeps
// CurrentControlSet as a key of its own), and a copy of tarvex.exe.
class RunsOnRecord : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, std::getenv("TARVEX_WINE_DEBUG_FILE")) << "run through tests/win32/with_wine_debug_file.sh";
        folder_ = TempFilePath(L"tarvex-events\\");
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_EXE).c_str(), (folder_ + L"tarvex.exe").c_str(), FALSE));
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSourceKey);
        Win32RegistryWriter writer;
        ASSERT_EQ(kSuccess, SeedWanMiniport(writer));
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            ASSERT_EQ(kSuccess, SeedConnection(writer, Entry(set), "Tarvex event 1", "TARVEXEVT\\GONE\\1"));
        }
    }
    void TearDown() override {
        Win32Registry registry;
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            registry.SHDeleteKeyA(kLocalMachine, "SYSTEM\\"s + set + "\\Control\\Network\\" + kEventClass);
        }
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSourceKey);
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            DeleteFileW((folder_ + found.cFileName).c_str());
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        RemoveDirectoryW(folder_.c_str());
    }
    static std::string Entry(const char* set) {
        return "SYSTEM\\"s + set + "\\Control\\Network\\" + kEventClass + "\\{1}";
    }
    // A program run with wine's event log channels on; what it printed on standard output.
    std::string Run(const std::wstring& commandLine) {
        // Files of their own for every run: wine may still hold the last run's.
        static int run = 0;
        const std::wstring output = TempFilePath((L"tarvex-events-out" + std::to_wstring(++run) + L".txt").c_str());
        SetEnvironmentVariableW(L"WINEDEBUG", L"fixme+advapi,+eventlog");
        const int code = RunProgramWithOutputIn(commandLine, output, output);
        SetEnvironmentVariableW(L"WINEDEBUG", L"-all");
        const std::string printed = FileBytes(output).value_or("");
        DeleteFileW(output.c_str());
        return code == 0 || code == 3010 ? printed : "exit " + std::to_string(code) + ": " + printed;
    }
    std::size_t Printed() const {
        return FileBytes(FromUnixPath(std::getenv("TARVEX_WINE_DEBUG_FILE"))).value_or("").size();
    }

    std::wstring folder_;
};

std::vector<std::string> Ids(const std::vector<Reported>& reported) {
    std::vector<std::string> ids;
    for (const Reported& event : reported) ids.push_back(event.id);
    return ids;
}

// The console's deletion writes 100, then 1000 with the line --format
// summary printed, and registers its own path; a dry run and
// --no-event-log write nothing.
TEST_F(RunsOnRecord, TheConsolesDeletionWritesItsTwoEventsAndRegistersItself) {
    const std::wstring tarvex = L"\"" + folder_ + L"tarvex.exe\" delete --stale --name \"Tarvex event*\" --backup-dir \"" +
                                folder_.substr(0, folder_.size() - 1) + L"\" --format summary";
    for (const wchar_t* quiet : {L" --dry-run", L" --no-event-log --dry-run"}) {
        const std::size_t before = Printed();
        Run(tarvex + quiet);
        EXPECT_TRUE(ReportedSince(before).empty()) << "a dry run changes nothing";
    }
    const std::size_t before = Printed();
    const std::string summary = Run(tarvex);
    const std::vector<Reported> reported = ReportedSince(before);
    ASSERT_EQ((std::vector<std::string>{"0x00000064", "0x000003e8"}), Ids(reported)) << summary;
    for (const Reported& event : reported) {
        EXPECT_EQ("0x0004", event.type) << "Information";
        EXPECT_NE("0000000000000000", event.sid) << "the user's SID, for Event Viewer's User column";
    }
    ASSERT_EQ(4u, reported[1].inserts.size());
    EXPECT_TRUE(PrintedAs(summary.substr(0, summary.size() - 2), reported[1].inserts[0]))
        << reported[1].inserts[0] << " is not " << summary;
    EXPECT_EQ((Registration{folder_ + L"tarvex.exe", REG_EXPAND_SZ, 7}), ReadSourceKey());

    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        Win32RegistryWriter writer;
        ASSERT_EQ(kSuccess, SeedConnection(writer, Entry(set), "Tarvex event 1", "TARVEXEVT\\GONE\\1"));
    }
    const std::size_t again = Printed();
    Run(tarvex + L" --no-event-log");
    EXPECT_TRUE(ReportedSince(again).empty()) << "--no-event-log";
}

// The window's deletion writes its two, its command line "the window".
TEST_F(RunsOnRecord, TheWindowsDeletionWritesItsTwoEvents) {
    const std::size_t before = Printed();
    const std::wstring folder = folder_.substr(0, folder_.size() - 1);  // a backslash before a quote would escape it
    EXPECT_EQ("0 rows left\r\n", Run(L"\"" + FromUnixPath(TARVEX_WINDOW_DELETION) + L"\" \"" + folder + L"\" \"Tarvex event\""));
    const std::vector<Reported> reported = ReportedSince(before);
    ASSERT_EQ((std::vector<std::string>{"0x00000064", "0x000003e8"}), Ids(reported));
    ASSERT_EQ(5u, reported[0].inserts.size());
    EXPECT_NE(std::string::npos, reported[0].inserts[4].find("L\"the window\"")) << reported[0].inserts[4];
}

}  // namespace
}  // namespace tarvex

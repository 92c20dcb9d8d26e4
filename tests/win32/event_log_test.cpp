// The event log under wine: the source's registration in the registry, the
// message table in both programs, and what wine's event log calls print of
// a reported event.
#include "core/run_events.h"
#include "console/exit_codes.h"
#include "file_bytes.h"
#include "support/run_program.h"
#include "win32/run_identity.h"
#include "win32/wide_text.h"
#include "win32/win32_event_log.h"

#include <gtest/gtest.h>

#define SECURITY_WIN32
#include <windows.h>
#include <sddl.h>
#include <security.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvex {
namespace {

// Spelled out here rather than taken from the code under test.
constexpr wchar_t kSourceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tarvex";
// Stands for this test program's own path in the expected registrations.
constexpr wchar_t kThisProgram[] = L"<this program>";

struct Registration {
    std::optional<std::wstring> messageFile;
    DWORD messageFileType = REG_EXPAND_SZ;
    std::optional<DWORD> typesSupported;

    bool operator==(const Registration&) const = default;
};

void PrintTo(const Registration& r, std::ostream* out) {
    *out << "{" << (r.messageFile ? std::string(r.messageFile->begin(), r.messageFile->end()) : "(none)") << ", type "
         << r.messageFileType << ", types " << (r.typesSupported ? std::to_string(*r.typesSupported) : "(none)") << "}";
}

std::wstring ThisProgram() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

void DeleteSourceKey() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSourceKey); }

void SeedSourceKey(const Registration& seed) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                             nullptr));
    if (seed.messageFile) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"EventMessageFile", 0, seed.messageFileType,
                                                reinterpret_cast<const BYTE*>(seed.messageFile->c_str()),
                                                static_cast<DWORD>((seed.messageFile->size() + 1) * sizeof(wchar_t))));
    }
    if (seed.typesSupported) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&*seed.typesSupported), sizeof(DWORD)));
    }
    RegCloseKey(key);
}

std::optional<Registration> ReadSourceKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    Registration found;
    wchar_t text[4096] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"EventMessageFile", nullptr, &found.messageFileType, reinterpret_cast<BYTE*>(text),
                         &size) == ERROR_SUCCESS) {
        found.messageFile = text;
    }
    DWORD types = 0;
    size = sizeof types;
    DWORD type = 0;
    if (RegQueryValueExW(key, L"TypesSupported", nullptr, &type, reinterpret_cast<BYTE*>(&types), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD) {
        found.typesSupported = types;
    }
    RegCloseKey(key);
    return found;
}

// What the source's key holds before Register, and after.
struct RegistrationCase {
    const char* what;
    std::optional<Registration> before;  // none: no key
    Registration after;
};

class SourceRegistration : public ::testing::TestWithParam<RegistrationCase> {
protected:
    void SetUp() override { DeleteSourceKey(); }
    void TearDown() override { DeleteSourceKey(); }
};

TEST_P(SourceRegistration, WritesThisProgramOnlyWhereNoMessageFileIsThere) {
    if (GetParam().before) {
        ASSERT_NO_FATAL_FAILURE(SeedSourceKey(*GetParam().before));
    }
    Registration expected = GetParam().after;
    if (expected.messageFile == kThisProgram) expected.messageFile = ThisProgram();
    EXPECT_EQ("written", EventWrittenText(Win32EventLog().Register()));
    EXPECT_EQ(expected, ReadSourceKey());
}

const Registration kWritten{kThisProgram, REG_EXPAND_SZ, 7};
// Another program's file that is there, as a registration of its own would name it.
const Registration kValid{L"%SystemRoot%\\system32\\kernel32.dll", REG_EXPAND_SZ, 4};

INSTANTIATE_TEST_SUITE_P(
    Keys, SourceRegistration,
    ::testing::Values(
        RegistrationCase{"MissingKey", std::nullopt, kWritten},
        RegistrationCase{"KeyWithoutMessageFile", Registration{std::nullopt, REG_EXPAND_SZ, 4}, kWritten},
        RegistrationCase{"MessageFileGone", Registration{L"C:\\Tarvex-moved\\tarvex.exe", REG_EXPAND_SZ, 7}, kWritten},
        RegistrationCase{"MessageFileIsAFolder", Registration{L"%SystemRoot%", REG_EXPAND_SZ, 7}, kWritten},
        RegistrationCase{"ValidLeftAlone", kValid, kValid},
        RegistrationCase{"PlainTextWithoutTypesLeftAlone",
                         Registration{L"C:\\windows\\system32\\advapi32.dll", REG_SZ, std::nullopt},
                         Registration{L"C:\\windows\\system32\\advapi32.dll", REG_SZ, std::nullopt}}),
    [](const auto& info) { return info.param.what; });

// A message of the programs' table with its inserts, as Event Viewer
// formats it: whole, or only its first line where the row gives that.
struct MessageCase {
    const char* what;
    std::uint32_t id;
    std::vector<std::wstring> inserts;
    std::wstring text;
    bool whole;
};

class MessageTable : public ::testing::TestWithParam<MessageCase> {};

std::optional<std::wstring> FormattedMessage(HMODULE module, DWORD id, const std::vector<std::wstring>& inserts) {
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& insert : inserts) arguments.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, module, id, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, reinterpret_cast<va_list*>(arguments.data()));
    if (length == 0) return std::nullopt;
    std::wstring text(buffer, length);
    LocalFree(buffer);
    return text;
}

TEST_P(MessageTable, BothProgramsCarryEveryMessageTheEventsName) {
    for (const char* program : {TARVEX_MANAGER_EXE, TARVEX_EXE}) {
        HMODULE module = LoadLibraryExW(FromUnixPath(program).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, module) << program;
        EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCEW(1), RT_MESSAGETABLE)) << program;
        const std::optional<std::wstring> text = FormattedMessage(module, GetParam().id, GetParam().inserts);
        ASSERT_TRUE(text) << program << ": no message " << GetParam().id;
        EXPECT_EQ(GetParam().text, GetParam().whole ? *text : text->substr(0, text->find(L"\r\n"))) << program;
        FreeLibrary(module);
    }
}

std::uint32_t OutcomeId(ExitCode code) {
    return OutcomeEventKind(static_cast<int>(code)).value_or(EventKind{}).id;
}

const std::vector<std::wstring> kOutcomeInserts{L"1 deleted, 0 failed", L"HOST\\alice", L"C:\\t.exe", L"t.exe delete"};

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageTable,
    ::testing::Values(
        MessageCase{"AboutToChange", kAboutToChangeEventId,
                    {L"delete 1 stale connection: Ethernet 3", L"C:\\b.reg", L"HOST\\alice", L"C:\\t.exe",
                     L"t.exe delete --stale"},
                    L"Tarvex is about to change this computer.\r\n\r\nWhat: delete 1 stale connection: Ethernet 3\r\n"
                    L"Backups: C:\\b.reg\r\nUser: HOST\\alice\r\nProgram: C:\\t.exe\r\nCommand line: t.exe delete --stale",
                    true},
        MessageCase{"BackupIncomplete", OutcomeId(ExitCode::BackupIncomplete), kOutcomeInserts,
                    L"Stopped: a backup was incomplete, so nothing after it was deleted.\r\n\r\n1 deleted, 0 failed\r\n"
                    L"\r\nUser: HOST\\alice\r\nProgram: C:\\t.exe\r\nCommand line: t.exe delete",
                    true},
        MessageCase{"Done", OutcomeId(ExitCode::Done), kOutcomeInserts, L"Done.", false},
        MessageCase{"StaleFound", OutcomeId(ExitCode::StaleFound), kOutcomeInserts,
                    L"Done: stale entries were found.", false},
        MessageCase{"Usage", OutcomeId(ExitCode::Usage), kOutcomeInserts,
                    L"Not run: the command line was not understood.", false},
        MessageCase{"NoAdminRights", OutcomeId(ExitCode::NoAdminRights), kOutcomeInserts,
                    L"Not run: administrator rights are needed.", false},
        MessageCase{"DeletionFailed", OutcomeId(ExitCode::DeletionFailed), kOutcomeInserts,
                    L"Failed: some entries could not be deleted; the rest went ahead.", false},
        MessageCase{"StaleUnknown", OutcomeId(ExitCode::StaleUnknown), kOutcomeInserts,
                    L"Not run: the device query failed, so nothing was taken for stale.", false},
        MessageCase{"DoneWithIncompleteBackup", OutcomeId(ExitCode::DoneWithIncompleteBackup), kOutcomeInserts,
                    L"Done with a warning: entries were deleted whose backup is incomplete.", false},
        MessageCase{"Unfinished", OutcomeId(ExitCode::Unfinished), kOutcomeInserts,
                    L"Unfinished: the output was lost, or the program failed unexpectedly.", false},
        MessageCase{"HandOverFailed", OutcomeId(ExitCode::HandOverFailed), kOutcomeInserts,
                    L"Done with a warning: static IP settings were not handed over to a present adapter.", false},
        MessageCase{"HandOverPartial", OutcomeId(ExitCode::HandOverPartial), kOutcomeInserts,
                    L"Failed: an adapter's IP settings are half written and could not all be put back.", false},
        MessageCase{"RestartNeeded", OutcomeId(ExitCode::RestartNeeded), kOutcomeInserts,
                    L"Done: Windows must restart to finish.", false}),
    [](const auto& info) { return info.param.what; });

// The user's name in the inserts: DOMAIN\name, or the SID's own text where
// no account has it.
struct AccountCase {
    const char* what;
    const wchar_t* sid;  // none: no SID at all
    std::string name;
};

class AccountNames : public ::testing::TestWithParam<AccountCase> {};

std::vector<unsigned char> SidBytes(const wchar_t* text) {
    PSID sid = nullptr;
    if (!text || !ConvertStringSidToSidW(text, &sid)) return {};
    const auto* bytes = static_cast<const unsigned char*>(sid);
    std::vector<unsigned char> copy(bytes, bytes + GetLengthSid(sid));
    LocalFree(sid);
    return copy;
}

TEST_P(AccountNames, NameTheAccountOrElseTheSid) {
    const std::vector<unsigned char> sid = SidBytes(GetParam().sid);
    ASSERT_EQ(GetParam().sid == nullptr, sid.empty());
    EXPECT_EQ(GetParam().name, AccountName(sid));
}

INSTANTIATE_TEST_SUITE_P(
    Sids, AccountNames,
    ::testing::Values(AccountCase{"LocalSystem", L"S-1-5-18", "NT AUTHORITY\\SYSTEM"},
                      AccountCase{"NoSuchAccount", L"S-1-5-21-1-2-3-4242", "S-1-5-21-1-2-3-4242"},
                      AccountCase{"NoSid", nullptr, ""}),
    [](const auto& info) { return info.param.what; });

// A text as wine's debug channels print a wide string: quoted, with
// backslash, quote and control characters escaped.
std::string WinePrinted(const std::string& text) {
    std::string printed = "L\"";
    for (unsigned char c : text) {
        switch (c) {
            case '\n': printed += "\\n"; break;
            case '\r': printed += "\\r"; break;
            case '\t': printed += "\\t"; break;
            case '"': printed += "\\\""; break;
            case '\\': printed += "\\\\"; break;
            default: printed += static_cast<char>(c);
        }
    }
    return printed + "\"";
}

// wine prints at most some 200 characters of a string, then "...".
bool PrintedAs(const std::string& expected, const std::string& printed) {
    const std::string cut = "\"...";
    if (printed.size() < 100 || printed.compare(printed.size() - cut.size(), cut.size(), cut) != 0) {
        return printed == expected;
    }
    return expected.rfind(printed.substr(0, printed.size() - cut.size()), 0) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The call's fields as its fixme line prints them: "...:ReportEventW (a,b,c): stub".
std::vector<std::string> PrintedArguments(const std::string& line) {
    const std::size_t open = line.find('(');
    const std::size_t close = line.rfind(')');
    std::vector<std::string> fields;
    std::istringstream stream(line.substr(open + 1, close - open - 1));
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
    return fields;
}

// The user as the system names it through another call than the one under test.
std::string SamCompatibleUser() {
    wchar_t name[512] = {};
    ULONG size = 512;
    return GetUserNameExW(NameSamCompatible, name, &size) ? WideToUtf8(name) : "(GetUserNameExW failed)";
}

// What wine's event log stubs print of one reported event: its type and ID
// with the other arguments on the fixme channel, each insert on the
// eventlog channel at its type's level.
struct PrintedCase {
    const char* what;
    std::wstring arguments;  // report_event's
    const char* type;        // wType as the fixme line prints it
    const char* id;
    const char* level;                 // trace, warn or err
    std::vector<std::string> inserts;  // those before user, program and command line
};

class WineDebugOutput : public ::testing::TestWithParam<PrintedCase> {
protected:
    void SetUp() override {
        const char* file = std::getenv("TARVEX_WINE_DEBUG_FILE");
        ASSERT_NE(nullptr, file) << "run through tests/win32/with_wine_debug_file.sh";
        debugFile_ = FromUnixPath(file);
        SetEnvironmentVariableW(L"WINEDEBUG", L"fixme+advapi,+eventlog");
    }
    void TearDown() override { SetEnvironmentVariableW(L"WINEDEBUG", L"-all"); }

    // What the reporter printed on wine's channels, line by line.
    std::vector<std::string> Report(const std::wstring& commandLine) {
        const std::size_t before = FileBytes(debugFile_).value_or("").size();
        const std::wstring output = TempFilePath(L"tarvex-report-event.txt");
        EXPECT_EQ(0, RunProgramWithOutputIn(commandLine, output, output));
        EXPECT_EQ("written\r\n", FileBytes(output).value_or("(no output)"));
        DeleteFileW(output.c_str());
        return Lines(FileBytes(debugFile_).value_or("").substr(before));
    }

    std::wstring debugFile_;
};

TEST_P(WineDebugOutput, ShowsTheTypeIdUserAndInsertsOfTheEvent) {
    const std::wstring program = FromUnixPath(TARVEX_REPORT_EVENT);
    const std::wstring commandLine = L"\"" + program + L"\" " + GetParam().arguments;
    const std::vector<std::string> lines = Report(commandLine);

    std::vector<std::string> calls;  // the fixme lines' calls, in order
    std::vector<std::string> reported;
    std::vector<std::string> inserts;
    for (const std::string& line : lines) {
        for (const char* call : {"RegisterEventSourceW ", "ReportEventW ", "DeregisterEventSource "}) {
            if (line.find(std::string(":fixme:advapi:") + call) != std::string::npos) calls.push_back(call);
        }
        if (line.find(":fixme:advapi:ReportEventW ") != std::string::npos) reported = PrintedArguments(line);
        const std::size_t channel = line.find(":eventlog:ReportEventW ");
        if (channel != std::string::npos) {
            const std::size_t level = line.find(':') + 1;
            inserts.push_back(line.substr(level, channel - level) + " " +
                              line.substr(channel + std::string(":eventlog:ReportEventW ").size()));
        }
    }
    // The source is opened, used once and closed again.
    EXPECT_EQ((std::vector<std::string>{"RegisterEventSourceW ", "ReportEventW ", "DeregisterEventSource "}), calls);
    const auto opened = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(":fixme:advapi:RegisterEventSourceW ((null),L\"Tarvex\")") != std::string::npos;
    });
    EXPECT_NE(lines.end(), opened) << "the source Tarvex on this computer";

    ASSERT_EQ(9u, reported.size()) << "ReportEventW's arguments";
    EXPECT_EQ(GetParam().type, reported[1]);
    EXPECT_EQ("0x0000", reported[2]) << "category";
    EXPECT_EQ(GetParam().id, reported[3]);
    EXPECT_NE("0000000000000000", reported[4]) << "the user's SID";
    char count[16];
    std::snprintf(count, sizeof count, "0x%04zx", GetParam().inserts.size() + 3);
    EXPECT_EQ(count, reported[5]) << "number of inserts";

    std::vector<std::string> expected = GetParam().inserts;
    expected.insert(expected.end(), {SamCompatibleUser(), WideToUtf8(program), WideToUtf8(commandLine)});
    ASSERT_EQ(expected.size(), inserts.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string want = std::string(GetParam().level) + " " + WinePrinted(expected[i]);
        EXPECT_TRUE(PrintedAs(want, inserts[i])) << "insert " << i + 1 << ":\n  printed " << inserts[i]
                                                 << "\n  expected " << want;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Events, WineDebugOutput,
    ::testing::Values(
        PrintedCase{"AboutToChange", L"start \"delete 1 stale connection: Ethernet 3\" C:\\b.reg C:\\full.reg",
                    "0x0004", "0x00000064", "trace",
                    {"delete 1 stale connection: Ethernet 3", "C:\\b.reg, C:\\full.reg"}},
        PrintedCase{"Done", L"end 0 \"deleted: Ethernet 3\"", "0x0004", "0x000003e8", "trace",
                    {"deleted: Ethernet 3"}},
        PrintedCase{"DoneWithIncompleteBackup", L"end 7 \"1 with an incomplete backup\"", "0x0002", "0x000003ef",
                    "warn", {"1 with an incomplete backup"}},
        PrintedCase{"BackupIncomplete", L"end 3 \"left: a backup was incomplete\"", "0x0001", "0x000003eb", "err",
                    {"left: a backup was incomplete"}},
        PrintedCase{"RestartNeeded", L"end 3010 \"devices: 1 uninstalled\"", "0x0004", "0x00000bc2", "trace",
                    {"devices: 1 uninstalled"}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

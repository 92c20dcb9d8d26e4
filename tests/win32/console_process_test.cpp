// tarvex.exe as a process over the real registry and SetupAPI: what it
// prints, what it exits with, and what its backups restore.
#include "file_bytes.h"
#include "registry_snapshot.h"
#include "core/ipv4_settings.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"
#include "support/seed_profile.h"
#include "support/win32_registry_writer.h"
#include "tarvex_version.h"
#include "wide_registry.h"
#include "win32/wide_text.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_network_list.h"
#include "win32/win32_registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kClass[] = "{7E57C1A5-0000-4000-8000-00000000C0DE}";
// A ghost adapter's entry, and its GUID as Tcpip writes it; an interface no entry names.
constexpr char kGhost[] = "{7E57ABCD-0000-4000-8000-0000000000A1}";
constexpr char kGhostAsStored[] = "{7e57abcd-0000-4000-8000-0000000000a1}";
constexpr char kOtherInterface[] = "{7e57ffff-0000-4000-8000-0000000000ff}";
// The present adapter that replaced the ghost, with its device and driver key.
constexpr char kSuccessor[] = "{7E57ABCD-0000-4000-8000-0000000000B2}";
constexpr char kSuccessorId[] = "TARVEXCLI\\NEW\\B2";
constexpr char kSuccessorDriver[] = "{4d36e972-e325-11ce-bfc1-08002be10318}\\7E57";

struct Finished {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// Runs the copy of tarvex.exe with standard output and error in files, as a
// fleet tool collects them.
Finished RunTarvex(const std::wstring& folder, const std::wstring& arguments) {
    // Files of their own for every run: wine may still hold the last run's.
    static int run = 0;
    ++run;
    const std::wstring outPath = folder + L"out" + std::to_wstring(run) + L".txt";
    const std::wstring errPath = folder + L"err" + std::to_wstring(run) + L".txt";
    Finished finished;
    finished.exitCode = static_cast<DWORD>(
        RunProgramWithOutputIn(L"\"" + folder + L"tarvex.exe\" " + arguments, outPath, errPath));
    finished.out = FileBytes(outPath).value_or("");
    finished.err = FileBytes(errPath).value_or("");
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return finished;
}

// Three test connections under both sets (in wine CurrentControlSet is a key
// of its own): {1} with a seeded device, {2} naming a device that is gone,
// {3} naming none.
class ConsoleProcess : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TempFilePath(L"tarvex-console\\");
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_EXE).c_str(), (folder_ + L"tarvex.exe").c_str(), FALSE));
        RemoveSeed();
        ASSERT_EQ(kSuccess, SeedNetworkDevice(writer_, "TARVEXCLI\\NIC\\1", "Intel(R) PRO/1000 MT", ""));
        ASSERT_EQ(kSuccess, SeedDeviceDate(writer_, "TARVEXCLI\\NIC\\1", 102, 134'355'109'250'000'000));
        ASSERT_EQ(kSuccess, SeedDeviceDate(writer_, "TARVEXCLI\\NIC\\1", 103, 134'326'944'000'000'000));
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            Connection(set, "{1}", "Tarvex test 1", "TARVEXCLI\\NIC\\1");
            Connection(set, "{2}", "Tarvex test caf\xE9", "TARVEXCLI\\GONE\\2");
            Connection(set, "{3}", "Tarvex test 3", "");
            ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, Key(set, "{2}") + "\\Connection", "MediaSubType",
                                                 kRegDword, "\x01\0\0\0"s));
        }
    }
    void TearDown() override {
        RemoveSeed();
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            const std::wstring file = folder_ + found.cFileName;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        RemoveDirectoryW(folder_.c_str());
    }
    static std::string Key(const char* set, const char* connection) {
        return "SYSTEM\\"s + set + "\\Control\\Network\\" + kClass + "\\" + connection;
    }
    void Connection(const char* set, const char* connection, const std::string& name, const std::string& id) {
        ASSERT_EQ(kSuccess, SeedConnection(writer_, Key(set, connection), name, id));
    }
    void RemoveSeed() {
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\"s + set + "\\Control\\Network\\" + kClass);
            for (const char* guid : {kGhostAsStored, kOtherInterface, "{1}"}) {
                for (const std::string& key : IpSettingsKeys(Key(set, guid))) registry_.SHDeleteKeyA(kLocalMachine, key);
            }
        }
        registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXCLI");
        registry_.SHDeleteKeyA(kLocalMachine, kAdapterEntries + kSuccessor);
        registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Class\\"s + kSuccessorDriver);
        registry_.SHDeleteKeyA(kLocalMachine, kSuccessorSettings());
    }
    bool Exists(const std::string& key) { return !Snapshot(registry_, kLocalMachine, key).empty(); }
    static std::string kSuccessorSettings() {
        return Ipv4InterfacesKey("CurrentControlSet") + "\\{7e57abcd-0000-4000-8000-0000000000b2}";
    }
    Finished Run(const std::wstring& arguments) { return RunTarvex(folder_, arguments); }

    std::wstring folder_;
    Win32Registry registry_;
    Win32RegistryWriter writer_;
};

// A present device's Last seen is the moment of the run: shown here as NOW.
std::string WithNowMarked(std::string table) {
    for (std::size_t at = table.find("\t20"); at != std::string::npos; at = table.find("\t20", at + 1)) {
        if (at + 21 <= table.size() && table[at + 11] == 'T' && table[at + 20] == 'Z') table.replace(at + 1, 20, "NOW");
    }
    return table;
}

TEST_F(ConsoleProcess, ListsAsTsvAndJsonInUtf8AndAscii) {
    Finished tsv = Run(L"list --name \"Tarvex test*\"");
    EXPECT_EQ(0u, tsv.exitCode) << tsv.err;
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n"
              "CurrentControlSet\tTarvex test 1\tPresent\tIntel(R) PRO/1000 MT\t" + Key("CurrentControlSet", "{1}") + "\tNOW\t\r\n"
              "CurrentControlSet\tTarvex test caf\xC3\xA9\tNo device\t\t" + Key("CurrentControlSet", "{2}") + "\t\t\r\n"
              "CurrentControlSet\tTarvex test 3\t\t\t" + Key("CurrentControlSet", "{3}") + "\t\t\r\n"
              "ControlSet001\tTarvex test 1\tPresent\tIntel(R) PRO/1000 MT\t" + Key("ControlSet001", "{1}") + "\tNOW\t\r\n"
              "ControlSet001\tTarvex test caf\xC3\xA9\tNo device\t\t" + Key("ControlSet001", "{2}") + "\t\t\r\n"
              "ControlSet001\tTarvex test 3\t\t\t" + Key("ControlSet001", "{3}") + "\t\t\r\n",
              WithNowMarked(tsv.out));

    // The dates SetupAPI recorded, for present devices too.
    Finished dated = Run(L"list --name \"Tarvex test 1\" --format json");
    EXPECT_NE(std::string::npos,
              dated.out.find("\"lastArrival\":\"2026-10-03T14:22:05Z\",\"lastRemoval\":\"2026-09-01T00:00:00Z\","))
        << dated.out;

    Finished json = Run(L"list --stale --name \"Tarvex test*\" --format json");
    EXPECT_EQ(0u, json.exitCode) << json.err;
    const std::string key = "SYSTEM\\\\CurrentControlSet\\\\Control\\\\Network\\\\"s + kClass + "\\\\{2}";
    EXPECT_EQ(0u, json.out.find("[\r\n{\"key\":\"" + key + "\",\"controlSet\":\"CurrentControlSet\","
                                "\"connection\":\"Tarvex test caf\\u00e9\",\"adapter\":\"No device\",\"device\":null,"
                                "\"pnpInstanceId\":\"TARVEXCLI\\\\GONE\\\\2\",\"lastSeen\":null,\"lastArrival\":null,"
                                "\"lastRemoval\":null,\"ipv4\":null},\r\n"))
        << json.out;
    std::size_t objects = 0;
    for (std::size_t at = json.out.find("\"adapter\""); at != std::string::npos; at = json.out.find("\"adapter\"", at + 1)) {
        ++objects;
    }
    EXPECT_EQ(2u, objects) << "the two stale rows";
}

TEST_F(ConsoleProcess, CheckExitsOneWhileStaleRowsRemainThenZero) {
    Finished before = Run(L"check --name \"Tarvex test*\"");
    EXPECT_EQ(1u, before.exitCode);
    EXPECT_EQ("2\r\n", before.out);

    Finished removed = Run(L"delete --stale --name \"Tarvex test*\"");
    EXPECT_EQ(0u, removed.exitCode) << removed.err;
    Finished after = Run(L"check --name \"Tarvex test*\"");
    EXPECT_EQ(0u, after.exitCode);
    EXPECT_EQ("0\r\n", after.out);
}

TEST_F(ConsoleProcess, DeleteStaleBacksUpWhatRegImportRestoresExactly) {
    std::vector<RegistrySnapshot> originals;
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        originals.push_back(Snapshot(registry_, kLocalMachine, Key(set, "{2}")));
    }
    Finished removed = Run(L"delete --stale --name \"Tarvex test*\"");
    ASSERT_EQ(0u, removed.exitCode) << removed.err;
    EXPECT_EQ("deleted\t" + Key("CurrentControlSet", "{2}") + "\r\ndeleted\t" + Key("ControlSet001", "{2}") + "\r\n",
              removed.out);
    EXPECT_NE(std::string::npos, removed.err.find("2 deleted, 0 failed"));
    EXPECT_FALSE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{1}")));
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{3}")));

    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + folder_ + L"SmallBackup.reg\""));
    int i = 0;
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        EXPECT_EQ(originals[i++], Snapshot(registry_, kLocalMachine, Key(set, "{2}"))) << set;
    }
}

TEST_F(ConsoleProcess, MistypedBackupFolderIsAUsageErrorEvenWithForce) {
    for (const wchar_t* extra : {L"--force", L"--dry-run"}) {
        Finished stopped =
            Run(L"delete --stale --name \"Tarvex test*\" --backup-dir C:\\no-such-folder " + std::wstring(extra));
        EXPECT_EQ(2u, stopped.exitCode);
        EXPECT_EQ(0u, stopped.err.find("tarvex: the backup folder does not exist: C:\\no-such-folder\r\n")) << stopped.err;
        EXPECT_EQ("", stopped.out);
    }
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_TRUE(Exists(Key("ControlSet001", "{2}")));
}

// Held by another program (wine lets root write read-only files).
TEST_F(ConsoleProcess, BackupFileThatCannotBeWrittenStopsEvenWithForceAndTheDryRunSaysSo) {
    const std::wstring small = folder_ + L"SmallBackup.reg";
    ASSERT_TRUE(WriteFileBytes(small, "REGEDIT4\r\n\r\n"));
    HANDLE held = CreateFileW(small.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    for (const wchar_t* extra : {L"--force", L"--dry-run"}) {
        Finished stopped = Run(L"delete --stale --name \"Tarvex test*\" " + std::wstring(extra));
        EXPECT_EQ(3u, stopped.exitCode) << stopped.err;
        EXPECT_NE(std::string::npos, stopped.err.find("cannot write the backup file")) << stopped.err;
        EXPECT_EQ("", stopped.out);
    }
    CloseHandle(held);
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_EQ("REGEDIT4\r\n\r\n", FileBytes(small));
}

// The run's own file, named on the line that says how to undo the run.
std::wstring RunFileOf(const Finished& run) {
    const std::string mark = "to undo this run, in PowerShell: reg import '";
    const std::size_t at = run.err.find(mark);
    if (at == std::string::npos) return L"";
    const std::size_t from = at + mark.size();
    return Utf8ToWide(run.err.substr(from, run.err.find('\'', from) - from));
}

// Names and texts outside the ANSI code page, with every value type: a
// SmallBackup.reg block could not hold them, so the key goes to the run's
// own file alone, which reg import and regedit /s each bring back exactly;
// and each run's file undoes that run alone.
TEST_F(ConsoleProcess, NamesOutsideTheCodePageGoToTheRunsOwnFileAndComeBackExactly) {
    const std::wstring ghost = Utf8ToWide(Key("CurrentControlSet", "{2}"));
    const std::wstring cyrillic = L"\u0421\u0435\u0442\u044c";
    const std::pair<DWORD, std::string> values[] = {
        {REG_SZ, "C\0a\0f\0\xE9\0 \0\x03&\0\0"s},  // "Café ☃"
        {REG_EXPAND_SZ, "%\0T\0%\0\0\0"s},
        {REG_MULTI_SZ, "a\0\0\0\x42\x04\0\0\0\0"s},
        {REG_DWORD, "\x2A\0\0\0"s},
        {REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08"s},
        {REG_BINARY, std::string(40, '\x7F')},
        {REG_NONE, ""s},
        {0x2A, "ab"s}};
    for (const auto& [type, bytes] : values) {
        ASSERT_EQ(ERROR_SUCCESS, SetWideBytes(HKEY_LOCAL_MACHINE, ghost + L"\\" + cyrillic, cyrillic + std::to_wstring(type),
                                              type, bytes));
    }
    ASSERT_EQ(ERROR_SUCCESS, SetWideValue(HKEY_LOCAL_MACHINE, ghost, L"", REG_SZ, L"\"quoted\" \\ " + cyrillic));
    const WideSnapshot original = WideSnapshotOf(HKEY_LOCAL_MACHINE, ghost);

    Finished first = Run(L"delete --stale --name \"Tarvex test caf*\"");
    ASSERT_EQ(0u, first.exitCode) << first.err;
    EXPECT_NE(std::string::npos, first.err.find(Key("CurrentControlSet", "{2}") + " is not in SmallBackup.reg")) << first.err;
    EXPECT_EQ(std::string::npos, FileBytes(folder_ + L"SmallBackup.reg")
                                     .value_or("")
                                     .find("[HKEY_LOCAL_MACHINE\\" + Key("CurrentControlSet", "{2}") + "]"))
        << "no lossy block to restore wrongly";
    const std::wstring firstFile = RunFileOf(first);
    ASSERT_FALSE(firstFile.empty()) << first.err;
    EXPECT_TRUE(WideSnapshotOf(HKEY_LOCAL_MACHINE, ghost).empty());

    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + firstFile + L"\""));
    EXPECT_EQ(original, WideSnapshotOf(HKEY_LOCAL_MACHINE, ghost)) << "through reg import";

    // A second run deletes {2} and {3}; the first run's file brings back {2} alone.
    Finished second = Run(L"delete --backup none --key \"" + Utf8ToWide(Key("CurrentControlSet", "{2}")) + L"\" \"" +
                          Utf8ToWide(Key("CurrentControlSet", "{3}")) + L"\"");
    ASSERT_EQ(0u, second.exitCode) << second.err;
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + firstFile + L"\""));
    EXPECT_EQ(original, WideSnapshotOf(HKEY_LOCAL_MACHINE, ghost)) << "through regedit /s";
    EXPECT_FALSE(Exists(Key("CurrentControlSet", "{3}"))) << "what the second run deleted stays deleted";
}

TEST_F(ConsoleProcess, FullBackupWithNothingToDeleteLeavesTheLastOneAndOneHeldOpenIsKeptAside) {
    const std::wstring large = folder_ + L"LargeBackup.reg";
    ASSERT_TRUE(WriteFileBytes(large, "last"));
    Finished nothing = Run(L"delete --stale --name \"Nothing*\" --backup full");
    EXPECT_EQ(0u, nothing.exitCode) << nothing.err;
    EXPECT_EQ("tarvex: no connection matches 'Nothing*'; PATTERN takes * and ?\r\n0 to delete\r\n", nothing.err);
    EXPECT_EQ("last", FileBytes(large));

    HANDLE held = CreateFileW(large.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Finished kept = Run(L"delete --stale --name \"Tarvex test*\" --backup full");
    CloseHandle(held);
    EXPECT_EQ(0u, kept.exitCode) << kept.err;
    EXPECT_EQ("last", FileBytes(large));
    const std::string named = "this run's full backup is " + WideToUtf8(folder_) + "LargeBackup-";
    const std::size_t at = kept.err.find(named);
    ASSERT_NE(std::string::npos, at) << kept.err;
    const std::string keptName = kept.err.substr(at + named.size() - 12, 12 + 15 + 4);
    EXPECT_NE(std::string::npos,
              FileBytes(folder_ + Utf8ToWide(keptName)).value_or("").find(Key("ControlSet001", "{2}") + "]"))
        << keptName;
    EXPECT_FALSE(FileBytes(large + L".tmp"));
}

// A name the ANSI code page cannot carry, anywhere in the four trees, leaves
// the full backup incomplete: a stop leaves the last one as it was.
TEST_F(ConsoleProcess, StoppedFullBackupLeavesTheLastOneAsItWas) {
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        ASSERT_EQ(ERROR_SUCCESS, SetWideValue(HKEY_LOCAL_MACHINE, Utf8ToWide(Key(set, "{1}")), L"\u0421\u0435\u0442\u044c",
                                              REG_SZ, L"x"));
    }
    const std::wstring large = folder_ + L"LargeBackup.reg";
    ASSERT_TRUE(WriteFileBytes(large, "last"));
    const std::wstring key = Utf8ToWide(Key("ControlSet001", "{3}"));
    Finished stopped = Run(L"delete --backup full --key " + key);
    EXPECT_EQ(3u, stopped.exitCode) << stopped.err;
    EXPECT_TRUE(Exists(Key("ControlSet001", "{3}")));
    EXPECT_EQ("last", FileBytes(large));
    EXPECT_FALSE(FileBytes(large + L".tmp"));

    Finished forced = Run(L"delete --backup full --force --key " + key);
    EXPECT_EQ(7u, forced.exitCode) << forced.err;
    EXPECT_FALSE(Exists(Key("ControlSet001", "{3}")));
    EXPECT_NE(std::string::npos, FileBytes(large).value_or("").find(Key("ControlSet001", "{3}") + "]"));
}

// Every name a full backup kept aside could take in the next seconds, as
// local time gives it: the backup can then keep only the draft's name.
void TakeDatedNames(const std::wstring& folder, int seconds) {
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    FILETIME local{};
    FileTimeToLocalFileTime(&utc, &local);
    ULARGE_INTEGER ticks{{local.dwLowDateTime, local.dwHighDateTime}};
    for (int second = -1; second <= seconds; ++second) {
        const ULONGLONG at = ticks.QuadPart + static_cast<LONGLONG>(second) * 10'000'000;
        const FILETIME moment{static_cast<DWORD>(at), static_cast<DWORD>(at >> 32)};
        SYSTEMTIME time{};
        FileTimeToSystemTime(&moment, &time);
        for (int attempt = 1; attempt <= 100; ++attempt) {
            wchar_t name[64];
            swprintf(name, 64, L"LargeBackup-%04u%02u%02u-%02u%02u%02u", time.wYear, time.wMonth, time.wDay,
                     time.wHour, time.wMinute, time.wSecond);
            std::wstring path = folder + name + (attempt > 1 ? L"-" + std::to_wstring(attempt) : L"") + L".reg";
            CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        }
    }
}

// Kept only under the draft's name, the next full backup would remove it.
TEST_F(ConsoleProcess, FullBackupWithNoNameOfItsOwnStopsUnlessForcedAndSaysWhereItIs) {
    const std::wstring large = folder_ + L"LargeBackup.reg";
    ASSERT_TRUE(WriteFileBytes(large, "last"));
    HANDLE held = CreateFileW(large.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    TakeDatedNames(folder_, 30);
    const std::wstring key = Utf8ToWide(Key("ControlSet001", "{3}"));
    Finished stopped = Run(L"delete --backup full --key " + key);
    Finished forced = Run(L"delete --backup full --force --key " + key);
    CloseHandle(held);

    EXPECT_EQ(3u, stopped.exitCode) << stopped.err;
    EXPECT_NE(std::string::npos, stopped.err.find("which the next full backup removes")) << stopped.err;
    EXPECT_EQ(7u, forced.exitCode) << forced.err;
    EXPECT_FALSE(Exists(Key("ControlSet001", "{3}")));
    EXPECT_EQ("last", FileBytes(large));
    const std::string draft = WideToUtf8(large) + ".tmp";
    EXPECT_NE(std::string::npos, forced.err.find("this run's full backup is " + draft + "; move it somewhere safe"))
        << forced.err;
    EXPECT_NE(std::string::npos, FileBytes(large + L".tmp").value_or("").find(Key("ControlSet001", "{3}") + "]"));
}

bool HasSubkeyNamedExactly(RegistryApi& registry, const std::string& parent, const std::string& name) {
    UniqueKey key(registry);
    if (key.Open(kLocalMachine, parent, kKeyRead) != kSuccess) return false;
    char child[512];
    for (std::uint32_t index = 0; registry.RegEnumKeyA(key.get(), index, child, sizeof child) == kSuccess; ++index) {
        if (name == child) return true;
    }
    return false;
}

// A ghost's four IP-settings keys go with its entry, in both sets; a present
// adapter's and every other interface's stay; the backup brings the ghost's
// back exactly, names in their case included.
TEST_F(ConsoleProcess, WithIpSettingsTakesAGhostsFourKeysAndTheBackupBringsThemBack) {
    std::map<std::string, RegistrySnapshot> before;
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        Connection(set, kGhost, "Tarvex ghost", "TARVEXCLI\\GONE\\A1");
        for (const char* guid : {kGhostAsStored, kOtherInterface, "{1}"}) {
            ASSERT_EQ(kSuccess, SeedIpSettings(writer_, set, guid, "10.0.0.9"));
            for (const std::string& key : IpSettingsKeys(Key(set, guid))) before[key] = Snapshot(registry_, kLocalMachine, key);
        }
    }
    Finished ghost = Run(L"delete --stale --name \"Tarvex ghost\" --with-ip-settings");
    EXPECT_EQ(0u, ghost.exitCode) << ghost.err;
    EXPECT_NE(std::string::npos, ghost.out.find("deleted ip settings\tSYSTEM\\ControlSet001\\Services\\NetBT\\Parameters"
                                                "\\Interfaces\\Tcpip_" + std::string(kGhostAsStored) + "\r\n"))
        << ghost.out;
    Finished present = Run(L"delete --backup none --with-ip-settings --key " + Utf8ToWide(Key("ControlSet001", "{1}")));
    EXPECT_EQ(0u, present.exitCode) << present.err;
    EXPECT_NE(std::string::npos, present.err.find("\tthe adapter is present\r\n")) << present.err;

    for (const auto& [key, snapshot] : before) {
        const bool gone = key.find(kGhostAsStored) != std::string::npos;
        EXPECT_EQ(gone ? RegistrySnapshot{} : snapshot, Snapshot(registry_, kLocalMachine, key)) << key;
    }
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + folder_ + L"SmallBackup.reg\""));
    for (const auto& [key, snapshot] : before) {
        EXPECT_EQ(snapshot, Snapshot(registry_, kLocalMachine, key)) << key;
        const std::size_t split = key.rfind('\\');
        EXPECT_TRUE(HasSubkeyNamedExactly(registry_, key.substr(0, split), key.substr(split + 1))) << key;
    }
}

// The ghost's static settings go to the adapter named to take them, and the
// undo file regedit imports gives the successor's values back exactly, the
// ones it did not have taken away, and leaves what Windows wrote since.
TEST_F(ConsoleProcess, HandOverWritesTheSuccessorAndItsUndoFileBringsItBack) {
    ASSERT_EQ(kSuccess, SeedNetworkDevice(writer_, kSuccessorId, "Intel(R) I219-V", ""));
    ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\"s + kSuccessorId, "Driver",
                                         kRegSz, kSuccessorDriver + "\0"s));
    ASSERT_EQ(kSuccess, SeedPresentAdapter(writer_, kSuccessor, kSuccessorId, kSuccessorDriver, 0x84, "Tarvex new"));
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        Connection(set, kGhost, "Tarvex ghost", "TARVEXCLI\\GONE\\A1");
        ASSERT_EQ(kSuccess, SeedIpSettings(writer_, set, kGhostAsStored, "10.0.0.9"));
    }
    const RegistrySnapshot before = Snapshot(registry_, kLocalMachine, kSuccessorSettings());
    ASSERT_FALSE(before.empty());

    Finished handed = Run(L"delete --stale --name \"Tarvex ghost\" --with-ip-settings --backup none --hand-over-to " +
                          Utf8ToWide(kSuccessor));
    EXPECT_EQ(3010u, handed.exitCode) << handed.err;
    EXPECT_NE(std::string::npos, handed.out.find("handed over\t")) << handed.out;
    AnsiText address;
    ASSERT_TRUE(ReadValue(registry_, kLocalMachine, kSuccessorSettings(), "IPAddress", address));
    EXPECT_EQ("10.0.0.9\0"s, address);
    const std::size_t undo = handed.err.find("reg import '");
    ASSERT_NE(std::string::npos, undo) << handed.err;
    const std::string file = handed.err.substr(undo + 12, handed.err.find('\'', undo + 12) - undo - 12);

    // What Windows writes after the hand-over is not the undo file's to take back.
    ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, kSuccessorSettings(), "DhcpServer", kRegSz, "10.9.9.9\0"s));
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + Utf8ToWide(file) + L"\""));
    RegistrySnapshot expected = before;
    expected.begin()->second["DHCPSERVER"] = {kRegSz, "10.9.9.9\0"s};
    EXPECT_EQ(expected, Snapshot(registry_, kLocalMachine, kSuccessorSettings()));
}

// The profiles in use are told by the network list service as wine gives
// it: a network per interface, {0000000N-0000-0000-0000-4E6574446576} for
// interface N, whatever the flag asks. Seeded under those IDs they are
// connected; an old one is stale, goes with its signature, and its backup
// brings both back exactly.
TEST_F(ConsoleProcess, NetworkProfilesInUseAreToldByTheNetworkListService) {
    const ConnectedNetworks connected = Win32NetworkList().Connected();
    ASSERT_FALSE(connected.error) << FailureText(connected.error);
    ASSERT_FALSE(connected.ids.empty());
    const std::string old = "{7E57ABCD-0000-4000-8000-0000000000C1}";
    const std::string signature = std::string(kNetworkListKey) + "\\Signatures\\Unmanaged\\7E57C1";
    std::vector<std::string> seeded{kProfiles + old, signature};
    for (const AnsiText& id : connected.ids) {
        EXPECT_EQ(id.size() - 29, id.find("-0000-0000-0000-4E6574446576}")) << id;
        ASSERT_EQ(kSuccess, SeedProfile(writer_, id, "Tarvex in use", {2026, 12, 1, 8, 0, 0}));
        seeded.push_back(kProfiles + id);
    }
    ASSERT_EQ(kSuccess, SeedProfile(writer_, old, "Tarvex old", {2020, 5, 4, 10, 11, 12}));
    ASSERT_EQ(kSuccess, SeedSignature(writer_, "Unmanaged", "7E57C1", old, "\x00\x1A\x2B\x3C\x4D\x5E"s, "lab.example"));
    const RegistrySnapshot before = Snapshot(registry_, kLocalMachine, kProfiles + old);
    const RegistrySnapshot signatureBefore = Snapshot(registry_, kLocalMachine, signature);

    Finished listed = Run(L"list --profiles --name \"Tarvex*\"");
    EXPECT_EQ(0u, listed.exitCode) << listed.err;
    EXPECT_NE(std::string::npos, listed.out.find("Tarvex in use\tPublic\tWired\tno\t2025-03-01T09:00:00\t"
                                                "2026-12-01T08:00:00\tyes\t"))
        << listed.out;
    EXPECT_NE(std::string::npos, listed.out.find("Tarvex old\tPublic\tWired\tno\t2025-03-01T09:00:00\t"
                                                "2020-05-04T10:11:12\tno\t00-1A-2B-3C-4D-5E\tlab.example\t"))
        << listed.out;
    Finished checked = Run(L"check --profiles --name \"Tarvex*\"");
    EXPECT_EQ(1u, checked.exitCode) << checked.err;
    EXPECT_EQ("1\r\n", checked.out);

    Finished deleted = Run(L"delete --profiles --stale --name \"Tarvex*\"");
    EXPECT_EQ(0u, deleted.exitCode) << deleted.err;
    EXPECT_FALSE(Exists(kProfiles + old));
    EXPECT_FALSE(Exists(signature));
    EXPECT_TRUE(Exists(kProfiles + connected.ids[0])) << "in use, kept";
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + folder_ + L"SmallBackup.reg\""));
    EXPECT_EQ(before, Snapshot(registry_, kLocalMachine, kProfiles + old));
    EXPECT_EQ(signatureBefore, Snapshot(registry_, kLocalMachine, signature));
    for (const std::string& key : seeded) registry_.SHDeleteKeyA(kLocalMachine, key);
}

// wine counts every device it lists present: the real program uninstalls
// none of them, and says so.
TEST_F(ConsoleProcess, UninstallDevicesKeepsEveryDeviceWineCountsPresent) {
    Finished kept = Run(L"delete --uninstall-devices --backup none --format json --key " +
                        Utf8ToWide(Key("ControlSet001", "{1}")));
    EXPECT_EQ(0u, kept.exitCode) << kept.err;
    EXPECT_NE(std::string::npos, kept.err.find("kept device\tTARVEXCLI\\NIC\\1\tthe adapter is present\r\n")) << kept.err;
    EXPECT_NE(std::string::npos, kept.out.find("\"uninstalled\":[],\r\n")) << kept.out;
    EXPECT_NE(std::string::npos, kept.out.find("\"exitCode\":0}")) << kept.out;
    EXPECT_FALSE(Snapshot(registry_, kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXCLI\\NIC\\1").empty());
}

TEST_F(ConsoleProcess, KeyGivenTwiceIsDeletedOnce) {
    const std::wstring key = Utf8ToWide(Key("ControlSet001", "{3}"));
    Finished removed = Run(L"delete --backup none --key " + key + L" " + key);
    EXPECT_EQ(0u, removed.exitCode) << removed.err;
    EXPECT_EQ("deleted\t" + Key("ControlSet001", "{3}") + "\r\n", removed.out);
}

// Standard output that refuses writes is no success; a reader that went
// away takes nothing from the run's own outcome.
TEST_F(ConsoleProcess, LostOutputExitsEightAndAClosedPipeEndsQuietly) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::wstring readOnlyPath = folder_ + L"read-only-output.txt";
    const std::wstring errorPath = folder_ + L"errors.txt";
    HANDLE readOnly = CreateFileW(readOnlyPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  CREATE_ALWAYS, 0, nullptr);
    HANDLE errors = CreateFileW(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    const std::wstring list = L"\"" + folder_ + L"tarvex.exe\" list --name \"Tarvex test*\"";
    EXPECT_EQ(8, RunProgramWithHandles(list, readOnly, errors));
    CloseHandle(readOnly);

    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    ASSERT_TRUE(CreatePipe(&reader, &writer, &inherit, 0));
    CloseHandle(reader);
    EXPECT_EQ(1, RunProgramWithHandles(L"\"" + folder_ + L"tarvex.exe\" check --name \"Tarvex test*\"", writer, errors));
    CloseHandle(writer);
    CloseHandle(errors);
    const std::string messages = FileBytes(errorPath).value_or("");
    EXPECT_EQ(0u, messages.find("tarvex: could not write to standard output: ")) << messages;
    EXPECT_EQ(std::string::npos, messages.find("could not write", 9)) << "the closed pipe adds nothing: " << messages;
    EXPECT_NE(std::string::npos, messages.find("\r\n2 stale entries (1 connection): Tarvex test caf")) << messages;
}

// The platform maps every script as it compares registry names.
TEST_F(ConsoleProcess, NamesOutsideTheCodePageComeWholeAndMatchInAnyCase) {
    const Win32CaseMapping cases;
    for (const auto& [lower, upper] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"\u0142", L"\u0141"}, {L"\u017e", L"\u017d"}, {L"\u0441\u0435\u0442\u044c", L"\u0421\u0435\u0442\u044c"},
             {L"\u0394\u03af\u03ba\u03c4\u03c5\u03bf", L"\u0394\u038a\u039a\u03a4\u03a5\u039f"}}) {
        EXPECT_EQ(cases.Upper(WideToUtf8(lower)), cases.Upper(WideToUtf8(upper))) << WideToUtf8(upper);
    }

    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        ASSERT_EQ(ERROR_SUCCESS, SetWideValue(HKEY_LOCAL_MACHINE, Utf8ToWide(Key(set, "{3}") + "\\Connection"), L"Name",
                                              REG_SZ, L"\u0394\u03af\u03ba\u03c4\u03c5\u03bf \u0141"));
    }
    Finished json = Run(L"list --format json --name \"\u0394\u038a\u039a\u03a4\u03a5\u039f \u0142\"");
    EXPECT_EQ(0u, json.exitCode) << json.err;
    std::size_t rows = 0;
    const std::string name = "\"connection\":\"\\u0394\\u03af\\u03ba\\u03c4\\u03c5\\u03bf \\u0141\"";
    for (std::size_t at = json.out.find(name); at != std::string::npos; at = json.out.find(name, at + 1)) ++rows;
    EXPECT_EQ(2u, rows) << json.out;
}

TEST_F(ConsoleProcess, VersionIsTheProjects) {
    Finished version = Run(L"--version");
    EXPECT_EQ(0u, version.exitCode);
    EXPECT_EQ("tarvex " TARVEX_VERSION "\r\n", version.out);
}

// Numbers past 32 bits, where unsigned long ends on Windows, are no small ages.
TEST_F(ConsoleProcess, UsageErrorsExitTwoAndChangeNothing) {
    for (const wchar_t* arguments : {L"", L"delete", L"list --bogus", L"delete --stale --backup everything",
                                     L"delete --key SYSTEM\\Select", L"delete --stale --not-seen-for 4294967296",
                                     L"check --not-seen-for 18446744073709551626"}) {
        Finished refused = Run(arguments);
        EXPECT_EQ(2u, refused.exitCode) << Utf8ToWide(refused.err).c_str();
        EXPECT_EQ(0u, refused.err.find("tarvex: ")) << refused.err;
        EXPECT_NE(std::string::npos, refused.err.find("\r\nType \"tarvex help"));
        EXPECT_EQ(2, std::count(refused.err.begin(), refused.err.end(), '\n')) << "the cause and where to look";
        EXPECT_EQ("", refused.out);
    }
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_FALSE(FileBytes(folder_ + L"SmallBackup.reg"));
}

}  // namespace
}  // namespace tarvex

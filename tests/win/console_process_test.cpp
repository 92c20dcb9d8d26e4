// tarvex.exe as a process over the real registry and SetupAPI: what it
// prints, what it exits with, and what its backups restore.
#include "platform/wide_text.h"
#include "registry/win32_registry.h"
#include "registry_snapshot.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/win32_registry_writer.h"
#include "file_bytes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kClass[] = "{7E57C1A5-0000-4000-8000-00000000C0DE}";

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
        for (const wchar_t* file : {L"tarvex.exe", L"SmallBackup.reg", L"LargeBackup.reg"}) {
            DeleteFileW((folder_ + file).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }
    static std::string Key(const char* set, const char* connection) {
        return "SYSTEM\\"s + set + "\\Control\\Network\\" + kClass + "\\" + connection;
    }
    void Connection(const char* set, const char* connection, const std::string& name, const std::string& id) {
        const std::string path = Key(set, connection) + "\\Connection";
        ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, path, "Name", kRegSz, name + '\0'));
        if (!id.empty()) ASSERT_EQ(kSuccess, writer_.SetValue(kLocalMachine, path, "PnpInstanceID", kRegSz, id + '\0'));
    }
    void RemoveSeed() {
        for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
            registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\"s + set + "\\Control\\Network\\" + kClass);
        }
        registry_.SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXCLI");
    }
    bool Exists(const std::string& key) { return !Snapshot(registry_, kLocalMachine, key).empty(); }
    Finished Run(const std::wstring& arguments) { return RunTarvex(folder_, arguments); }

    std::wstring folder_;
    Win32Registry registry_;
    Win32RegistryWriter writer_;
};

TEST_F(ConsoleProcess, ListsAsTsvAndJsonInUtf8AndAscii) {
    Finished tsv = Run(L"list --name \"Tarvex test*\"");
    EXPECT_EQ(0u, tsv.exitCode) << tsv.err;
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\r\n"
              "CurrentControlSet\tTarvex test 1\tPresent\tIntel(R) PRO/1000 MT\t" + Key("CurrentControlSet", "{1}") + "\r\n"
              "CurrentControlSet\tTarvex test caf\xC3\xA9\tNo device\t\t" + Key("CurrentControlSet", "{2}") + "\r\n"
              "CurrentControlSet\tTarvex test 3\t\t\t" + Key("CurrentControlSet", "{3}") + "\r\n"
              "ControlSet001\tTarvex test 1\tPresent\tIntel(R) PRO/1000 MT\t" + Key("ControlSet001", "{1}") + "\r\n"
              "ControlSet001\tTarvex test caf\xC3\xA9\tNo device\t\t" + Key("ControlSet001", "{2}") + "\r\n"
              "ControlSet001\tTarvex test 3\t\t\t" + Key("ControlSet001", "{3}") + "\r\n",
              tsv.out);

    Finished json = Run(L"list --stale --name \"Tarvex test*\" --format json");
    EXPECT_EQ(0u, json.exitCode) << json.err;
    const std::string key = "SYSTEM\\\\CurrentControlSet\\\\Control\\\\Network\\\\"s + kClass + "\\\\{2}";
    EXPECT_EQ(0u, json.out.find("[\r\n{\"key\":\"" + key + "\",\"controlSet\":\"CurrentControlSet\","
                                "\"connection\":\"Tarvex test caf\\u00e9\",\"adapter\":\"No device\",\"device\":null,"
                                "\"pnpInstanceId\":\"TARVEXCLI\\\\GONE\\\\2\"},\r\n"))
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
    EXPECT_EQ("2\n", before.out);

    Finished removed = Run(L"delete --stale --name \"Tarvex test*\"");
    EXPECT_EQ(0u, removed.exitCode) << removed.err;
    Finished after = Run(L"check --name \"Tarvex test*\"");
    EXPECT_EQ(0u, after.exitCode);
    EXPECT_EQ("0\n", after.out);
}

TEST_F(ConsoleProcess, DeleteStaleBacksUpWhatRegImportRestoresExactly) {
    std::vector<RegistrySnapshot> originals;
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
        originals.push_back(Snapshot(registry_, kLocalMachine, Key(set, "{2}")));
    }
    Finished removed = Run(L"delete --stale --name \"Tarvex test*\"");
    ASSERT_EQ(0u, removed.exitCode) << removed.err;
    EXPECT_EQ("deleted\t" + Key("CurrentControlSet", "{2}") + "\ndeleted\t" + Key("ControlSet001", "{2}") + "\n",
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

TEST_F(ConsoleProcess, UnwritableBackupFolderStopsBeforeAnythingIsDeleted) {
    Finished stopped = Run(L"delete --stale --name \"Tarvex test*\" --backup-dir C:\\no-such-folder");
    EXPECT_EQ(3u, stopped.exitCode);
    EXPECT_EQ("", stopped.out);
    EXPECT_NE(std::string::npos, stopped.err.find("0 deleted"));
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_TRUE(Exists(Key("ControlSet001", "{2}")));
}

TEST_F(ConsoleProcess, UsageErrorsExitTwoAndChangeNothing) {
    for (const wchar_t* arguments : {L"", L"delete", L"list --bogus", L"delete --stale --backup everything",
                                     L"delete --key SYSTEM\\Select"}) {
        Finished refused = Run(arguments);
        EXPECT_EQ(2u, refused.exitCode) << Utf8ToWide(refused.err).c_str();
        EXPECT_EQ(0u, refused.err.find("tarvex: ")) << refused.err;
        EXPECT_NE(std::string::npos, refused.err.find("usage:"));
        EXPECT_EQ("", refused.out);
    }
    EXPECT_TRUE(Exists(Key("CurrentControlSet", "{2}")));
    EXPECT_FALSE(FileBytes(folder_ + L"SmallBackup.reg"));
}

}  // namespace
}  // namespace tarvex

// Backups written by the export must import back, with wine's own reg and
// regedit, into the same keys, types and bytes.
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/read_wide_tree.h"
#include "export/version5_file.h"
#include "file_bytes.h"
#include "registry_snapshot.h"
#include "support/run_program.h"
#include "support/utf16_text.h"
#include "support/win32_registry_writer.h"
#include "wide_registry.h"
#include "win32/wide_text.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_mouse_pointer.h"
#include "win32/win32_registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kTree[] = "Software\\TarvexRoundTrip\\Tree";

struct SeedValue {
    std::string key;
    std::string name;
    std::uint32_t type;
    std::string bytes;
};

std::string Pattern(std::size_t bytes) {
    std::string pattern(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) pattern[i] = static_cast<char>(i * 7 + i / 256);
    return pattern;
}

std::string DeepPath(int levels) {
    std::string path = "\\Deep";
    for (int level = 1; level <= levels; ++level) path += "\\L" + std::to_string(level);
    return path;
}

const std::vector<SeedValue>& AwkwardValues() {
    static const std::vector<SeedValue> values{
        {"", "", kRegSz, "default\0"s},
        {"", "quote\"and\\backslash", kRegSz, "C:\\Temp\\\"x\"\0"s},
        {"", "line breaks", kRegSz, "a\r\nb\rc\nd\0"s},
        {"", "inner nul", kRegSz, "a\0b\0"s},
        {"", "no nul", kRegSz, "abc"},
        {"", "empty sz", kRegSz, ""},
        {"", "expand", kRegExpandSz, "%SystemRoot%\\x\0"s},
        {"", "empty expand", kRegExpandSz, ""},
        {"", "multi", kRegMultiSz, "one\0two \"2\"\0\0"s},
        {"", "empty multi", kRegMultiSz, ""},
        {"", "binary 5000", kRegBinary, std::string(5000, '\xA5')},
        {"", "empty binary", kRegBinary, ""},
        {"", std::string(300, 'L'), kRegDword, "\x2A\0\0\0"s},
        {"", "dword -1", kRegDword, "\xFF\xFF\xFF\xFF"},
        {"", "two byte dword", kRegDword, "\x2A\x01"},
        {"", "empty dword", kRegDword, ""},
        {"", "qword", kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {"", "empty qword", kRegQword, ""},
        {"", "none", kRegNone, "\x10\x00\xFF"s},
        {"", "empty none", kRegNone, ""},
        {"\\Level1", "a", kRegSz, "1\0"s},
        {"\\Level1\\Level2", "b", kRegDword, "\2\0\0\0"s},
        {"\\Level1\\Level2\\Level3", "c", kRegBinary, "\3"},
        {"\\Level1\\Level2\\Level3", "", kRegSz, "deep\0"s},
        // Beyond the ANSI range of ASCII but inside code page 1252: no warning, exact bytes.
        {"", "caf\xE9 \x80", kRegSz, "\xE9t\xE9 \x80 \xFC\0"s},
        {"\\K\xE9y \xFC", "\xC4", kRegMultiSz, "\xD6\0\xDF\0\0"s},
        // Bigger than any buffer or read chunk on the way.
        {"", "big binary", kRegBinary, Pattern(300 * 1024)},
        {"", "big text", kRegSz, std::string(100 * 1024, 't') + '\0'},
        {DeepPath(30), "bottom", kRegDword, "\x1E\0\0\0"s},
    };
    return values;
}

// The export over the real registry and files.
struct RealExport {
    Win32Registry registry;
    Win32RegistryWriter writer;
    Win32BackupFiles files;
    Win32MousePointer pointer;
    ExportPlatform platform{registry, files, &pointer};
};

class ExportRoundTrip : public ::testing::Test, protected RealExport {
protected:
    void SetUp() override {
        registry.SHDeleteKeyA(kCurrentUser, kTree);
        ASSERT_EQ(kSuccess, writer.CreateKey(kCurrentUser, std::string(kTree) + "\\Empty child"));
        for (const SeedValue& value : AwkwardValues()) {
            ASSERT_EQ(kSuccess, writer.SetValue(kCurrentUser, kTree + value.key, value.name, value.type, value.bytes));
        }
        original_ = Snapshot(registry, kCurrentUser, kTree);
        ASSERT_EQ(5u + 1 + 31, original_.size());
        BackupError = false;
        ExportKey(platform, kCurrentUser, kTree, file_, true, false);
        ASSERT_FALSE(BackupError);
        ASSERT_EQ(kSuccess, registry.SHDeleteKeyA(kCurrentUser, kTree));
        ASSERT_TRUE(Snapshot(registry, kCurrentUser, kTree).empty());
    }
    void TearDown() override {
        registry.SHDeleteKeyA(kCurrentUser, kTree);
        DeleteFileW(Utf8ToWide(file_).c_str());
    }

    // What an import restores: the original, except that a plain string
    // stored without its terminating NUL gains one (the hex forms stay exact).
    RegistrySnapshot Expected() const {
        RegistrySnapshot expected = original_;
        for (auto& [path, values] : expected) {
            for (auto& [name, value] : values) {
                if (value.type == kRegSz && (value.bytes.empty() || value.bytes.back() != '\0')) {
                    value.bytes += '\0';
                }
            }
        }
        return expected;
    }

    void ExpectRestored() {
        RegistrySnapshot restored = Snapshot(registry, kCurrentUser, kTree);
        RegistrySnapshot expected = Expected();
        ASSERT_EQ(expected.size(), restored.size());
        for (const auto& [path, values] : expected) {
            ASSERT_TRUE(restored.count(path)) << path;
            EXPECT_EQ(values.size(), restored[path].size()) << path;
            for (const auto& [name, value] : values) {
                const auto found = restored[path].find(name);
                ASSERT_NE(found, restored[path].end()) << path << " : " << name;
                EXPECT_EQ(value.type, found->second.type) << path << " : " << name;
                EXPECT_EQ(value.bytes, found->second.bytes) << path << " : " << name;
            }
        }
    }

    std::string file_ = WideToUtf8(TempFilePath(L"tarvex-round-trip.reg"));
    RegistrySnapshot original_;
};

TEST_F(ExportRoundTrip, RegImportRestoresEveryKeyAndValue) {
    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + Utf8ToWide(file_) + L"\""));
    ExpectRestored();
}

TEST_F(ExportRoundTrip, RegeditRestoresEveryKeyAndValue) {
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + Utf8ToWide(file_) + L"\""));
    ExpectRestored();
}

constexpr char kBeyondTree[] = "Software\\TarvexBeyondAnsi";
constexpr wchar_t kWideBeyondTree[] = L"Software\\TarvexBeyondAnsi";

struct WideSeed {
    const char* what;
    std::wstring key;  // below the tree
    std::wstring name;
    DWORD type;
    std::wstring text;
    bool lost;  // whether code page 1252 cannot carry it
};

const std::vector<WideSeed>& WideSeeds() {
    static const std::vector<WideSeed> seeds{
        {"InTheCodePage", L"", L"plain", REG_SZ, L"Caf\u00E9 \u20AC \u00FC", false},
        {"ValueName", L"", L"\u0418\u043C\u044F", REG_SZ, L"name lost", true},
        {"Text", L"", L"snowman", REG_SZ, L"Caf\u00E9 \u2603", true},
        // The ANSI calls would turn this into "Lodz" without a stand-in character.
        {"BestFit", L"", L"best fit", REG_SZ, L"\u0141\u00F3d\u017A", true},
        {"MultiText", L"", L"multi", REG_MULTI_SZ, std::wstring(L"\u65E5\u672C\0a\0", 5), true},
        {"ExpandText", L"", L"expand", REG_EXPAND_SZ, L"%\u2603%", true},
        {"KeyName", L"\\\u0421\u0435\u0442\u044C", L"v", REG_SZ, L"whole key lost", true},
        {"KeyNameDeepDown", L"\\Ordinary\\a\\\u0421\u0435\u0442\u044C\\Child", L"v", REG_SZ, L"x", true},
        {"OrdinaryKey", L"\\Ordinary", L"v", REG_SZ, L"kept", false},
    };
    return seeds;
}

std::vector<std::wstring> WideNames(const std::wstring& path, bool values) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    wchar_t name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = 16384;
        LSTATUS status = values ? RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr)
                                : RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring WideText(const std::wstring& path, const std::wstring& name) {
    wchar_t text[256] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) != 0) {
        return L"<missing>";
    }
    return text;
}

// Names and text seeded through the wide calls, as Windows itself writes them.
class ExportBeyondAnsi : public ::testing::Test, protected RealExport {
protected:
    void SetUp() override {
        ASSERT_EQ(1252u, GetACP()) << "the cases assume code page 1252";
        RegDeleteTreeW(HKEY_CURRENT_USER, kWideBeyondTree);
        BackupError = false;
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kWideBeyondTree);
        DeleteFileW(Utf8ToWide(file_).c_str());
    }
    void Seed(const WideSeed& seed) {
        ASSERT_EQ(ERROR_SUCCESS, SetWideValue(HKEY_CURRENT_USER, kWideBeyondTree + seed.key, seed.name, seed.type,
                                              seed.text));
    }
    std::string file_ = WideToUtf8(TempFilePath(L"tarvex-beyond-ansi.reg"));
};

class EachEntryBeyondAnsi : public ExportBeyondAnsi, public ::testing::WithParamInterface<WideSeed> {};

TEST_P(EachEntryBeyondAnsi, IsReportedOnItsOwn) {
    Seed(GetParam());
    ExportKey(platform, kCurrentUser, kBeyondTree, file_, true, false);
    EXPECT_EQ(GetParam().lost, BackupError);
}

INSTANTIATE_TEST_SUITE_P(Entries, EachEntryBeyondAnsi, ::testing::ValuesIn(WideSeeds()),
                         [](const ::testing::TestParamInfo<WideSeed>& info) { return info.param.what; });

TEST_F(ExportBeyondAnsi, RestoresAllThatTheCodePageCarriesAndNothingUnderStandInNames) {
    for (const WideSeed& seed : WideSeeds()) Seed(seed);
    ExportKey(platform, kCurrentUser, kBeyondTree, file_, true, false);
    EXPECT_TRUE(BackupError);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, kWideBeyondTree));

    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + Utf8ToWide(file_) + L"\""));
    const std::wstring tree = kWideBeyondTree;
    EXPECT_EQ(L"Caf\u00E9 \u20AC \u00FC", WideText(tree, L"plain"));
    EXPECT_EQ(L"kept", WideText(tree + L"\\Ordinary", L"v"));
    EXPECT_EQ((std::vector<std::wstring>{L"Ordinary"}), WideNames(tree, false));
    EXPECT_EQ((std::vector<std::wstring>{L"a"}), WideNames(tree + L"\\Ordinary", false));
    EXPECT_TRUE(WideNames(tree + L"\\Ordinary\\a", false).empty());
    // Lost text is kept with stand-in characters, the closest the file can hold; lost names are left out.
    EXPECT_EQ((std::vector<std::wstring>{L"best fit", L"expand", L"multi", L"plain", L"snowman"}),
              WideNames(tree, true));
}

constexpr wchar_t kVersion5Tree[] = L"Software\\TarvexVersion5";

// Text as Windows stores it: UTF-16LE and its NUL.
std::string Text(const std::string& utf8) { return Utf16Le(utf8) + "\0\0"s; }

struct WideSeedValue {
    std::string key;  // below the tree, in UTF-8
    std::string name;
    std::uint32_t type;
    std::string bytes;
};

// Every type, names and data beyond any code page, and what only the hex forms carry.
const std::vector<WideSeedValue>& Version5Values() {
    static const std::vector<WideSeedValue> values{
        {"", "", kRegSz, Text("default ☃")},
        {"", "Имя", kRegSz, Text("Привет, мир")},
        {"", "名前 😀", kRegSz, Text("日本語 😀")},
        {"", "quote\"and\\backslash", kRegSz, Text("C:\\Temp\\\"x\"")},
        {"", "a]=b [c]", kRegSz, Text("x")},
        {"", "@", kRegSz, Text("not the default")},
        {"", "line breaks", kRegSz, Text("a\r\nb\rc\nd")},
        {"", "inner nul", kRegSz, "a\0\0\0b\0\0\0"s},
        {"", "no nul", kRegSz, Utf16Le("abc")},
        {"", "empty sz", kRegSz, ""},
        {"", "empty string", kRegSz, Text("")},
        {"", "expand", kRegExpandSz, Text("%SystemRoot%\\☃")},
        {"", "empty expand", kRegExpandSz, ""},
        {"", "multi", kRegMultiSz, Utf16Le("日本\0a \"q\"\0\0"s)},
        {"", "empty multi", kRegMultiSz, ""},
        {"", "binary 5000", kRegBinary, Pattern(5000)},
        {"", std::string(100, 'H'), kRegBinary, Pattern(100)},  // its first line ends after one byte
        {"", "empty binary", kRegBinary, ""},
        {"", std::string(300, 'L'), kRegDword, "\x2A\0\0\0"s},
        {"", "dword -1", kRegDword, "\xFF\xFF\xFF\xFF"},
        {"", "two byte dword", kRegDword, "\x2A\x01"},
        {"", "empty dword", kRegDword, ""},
        {"", "qword", kRegQword, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {"", "none", kRegNone, "\x10\x00\xFF"s},
        {"", "empty none", kRegNone, ""},
        {"", "resource list", 8, "\xC0"},
        {"\\Сеть", "v", kRegDword, "\1\0\0\0"s},
        {"\\Сеть\\日本 😀", "", kRegSz, Text("deep")},
        {"\\with spaces", "v", kRegBinary, "\1"},
        {"\\a]b [c]=d", "v", kRegBinary, "\2"},
    };
    return values;
}

const std::vector<std::string> kVersion5EmptyKeys{"\\Empty child", "\\Сеть\\Пусто"};

// What the seeds make: each key on the way to a value, and the values.
WideSnapshot Version5Seeded() {
    WideSnapshot expected;
    for (const WideSeedValue& value : Version5Values()) {
        const std::wstring key = Utf8ToWide(value.key);
        for (std::size_t at = key.find(L'\\', 1); at != std::wstring::npos; at = key.find(L'\\', at + 1)) {
            expected[key.substr(0, at)];
        }
        expected[key][Utf8ToWide(value.name)] = {value.type, value.bytes};
    }
    for (const std::string& key : kVersion5EmptyKeys) expected[Utf8ToWide(key)];
    return expected;
}

// What an import restores: the seeds, but that text data written as hex
// without a NUL at its end gains one, as reg and regedit add it. (Text of
// an odd byte count is not among the seeds: wine's import then overwrites
// its last byte with that NUL.)
WideSnapshot Version5Imported() {
    WideSnapshot expected = Version5Seeded();
    for (auto& [path, values] : expected) {
        for (auto& [name, value] : values) {
            const bool endsInNul = value.bytes.size() >= 2 && value.bytes.substr(value.bytes.size() - 2) == "\0\0"s;
            if (IsTextType(value.type) && !value.bytes.empty() && !endsInNul) value.bytes += "\0\0"s;
        }
    }
    return expected;
}

// The tree seeded through the wide calls, read and written by the Version 5
// writer, then deleted: an import must give it back exactly.
class Version5RoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kVersion5Tree);
        for (const WideSeedValue& value : Version5Values()) {
            ASSERT_EQ(ERROR_SUCCESS, SetWideBytes(HKEY_CURRENT_USER, kVersion5Tree + Utf8ToWide(value.key),
                                                  Utf8ToWide(value.name), value.type, value.bytes));
        }
        for (const std::string& key : kVersion5EmptyKeys) {
            HKEY created = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (kVersion5Tree + Utf8ToWide(key)).c_str(), 0,
                                                     nullptr, 0, KEY_WRITE, nullptr, &created, nullptr));
            RegCloseKey(created);
        }
        ExpectTree(Version5Seeded(), "as seeded");
        const WideTreeRead read = ReadWideTree(registry_, kCurrentUser, u"Software\\TarvexVersion5");
        ASSERT_TRUE(read.tree);
        ASSERT_TRUE(read.whole);
        const Version5File file = Version5FileOf({*read.tree});
        ASSERT_TRUE(file.holdsEverything);
        ASSERT_TRUE(WriteFileBytes(file_, file.bytes));
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, kVersion5Tree));
        ASSERT_TRUE(WideSnapshotOf(HKEY_CURRENT_USER, kVersion5Tree).empty());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kVersion5Tree);
        DeleteFileW(file_.c_str());
    }

    void ExpectTree(const WideSnapshot& expected, const char* when) {
        WideSnapshot actual = WideSnapshotOf(HKEY_CURRENT_USER, kVersion5Tree);
        std::vector<std::string> keys;
        for (const auto& [path, values] : actual) keys.push_back(WideToUtf8(path));
        ASSERT_EQ(expected.size(), actual.size()) << when << ": " << ::testing::PrintToString(keys);
        for (const auto& [path, values] : expected) {
            const std::string key = WideToUtf8(path);
            ASSERT_TRUE(actual.count(path)) << when << ": " << key;
            EXPECT_EQ(values.size(), actual[path].size()) << when << ": " << key;
            for (const auto& [name, value] : values) {
                const auto found = actual[path].find(name);
                ASSERT_NE(found, actual[path].end()) << when << ": " << key << " : " << WideToUtf8(name);
                EXPECT_EQ(value.type, found->second.type) << when << ": " << key << " : " << WideToUtf8(name);
                EXPECT_EQ(value.bytes, found->second.bytes) << when << ": " << key << " : " << WideToUtf8(name);
            }
        }
    }

    Win32Registry registry_;
    std::wstring file_ = TempFilePath(L"tarvex-version5.reg");
};

TEST_F(Version5RoundTrip, RegImportRestoresTheTreeExactly) {
    ASSERT_EQ(0, RunProgram(L"reg.exe import \"" + file_ + L"\""));
    ExpectTree(Version5Imported(), "imported by reg");
}

TEST_F(Version5RoundTrip, RegeditRestoresTheTreeExactly) {
    ASSERT_EQ(0, RunProgram(L"regedit.exe /s \"" + file_ + L"\""));
    ExpectTree(Version5Imported(), "imported by regedit");
}

class ExportToDisk : public ::testing::Test, protected RealExport {
protected:
    void SetUp() override {
        ASSERT_EQ(kSuccess, writer.SetValue(kCurrentUser, kKey, "v", kRegDword, "\1\0\0\0"s));
        BackupError = false;
    }
    void TearDown() override {
        DeleteFileW(Utf8ToWide(file_).c_str());
        registry.SHDeleteKeyA(kCurrentUser, "Software\\TarvexToDisk");
    }
    std::string Read() { return FileBytes(Utf8ToWide(file_)).value_or("<missing>"); }

    static constexpr char kKey[] = "Software\\TarvexToDisk\\K";
    std::string file_ = WideToUtf8(TempFilePath(L"tarvex-to-disk.reg"));
};

constexpr char kBlock[] = "[HKEY_CURRENT_USER\\Software\\TarvexToDisk\\K]\r\n\"v\"=dword:00000001\r\n\r\n";

TEST_F(ExportToDisk, ReplacesThenAppends) {
    ASSERT_TRUE(files.Open(file_, false)->Write("old content"));
    ExportKey(platform, kCurrentUser, kKey, file_, true, false);
    ExportKey(platform, kCurrentUser, kKey, file_, true, true);
    EXPECT_EQ("REGEDIT4\r\n\r\n"s + kBlock + kBlock, Read());
    EXPECT_FALSE(BackupError);
    EXPECT_EQ(kDefaultPointer, pointer.Current());
}

TEST_F(ExportToDisk, MissingFolderIsReported) {
    const std::string missing = WideToUtf8(TempFilePath(L"tarvex-no-such-folder\\Backup.reg"));
    ExportKey(platform, kCurrentUser, kKey, missing, true, false);
    EXPECT_TRUE(BackupError);
    EXPECT_FALSE(FileBytes(Utf8ToWide(missing)));
}

// (A read-only file cannot be tested here: wine run as root writes it anyway.)
TEST_F(ExportToDisk, LockedFileIsReported) {
    HANDLE locked = CreateFileW(Utf8ToWide(file_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    ExportKey(platform, kCurrentUser, kKey, file_, true, true);
    CloseHandle(locked);
    EXPECT_TRUE(BackupError);
    EXPECT_EQ("", Read());
}

}  // namespace
}  // namespace tarvex

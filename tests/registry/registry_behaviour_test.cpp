// What the program relies on from the platform's registry calls. The same
// cases run against the in-memory registry and, under wine, the real one.
#include "registry/registry_backend.h"
#include "registry/unique_key.h"
#include "support/latin1_text.h"
#include "support/utf16_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>
#include <memory>

namespace tarvex::testing {
namespace {

using namespace std::string_literals;

// One value as RegEnumValueW gives it.
struct WideEntry {
    std::u16string name;
    std::uint32_t type;
    std::string bytes;
    bool operator==(const WideEntry&) const = default;
};

std::vector<std::u16string> WideSubkeys(RegistryApi& api, KeyHandle key) {
    std::vector<std::u16string> names;
    char16_t name[256];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = 256;
        if (api.RegEnumKeyExW(key, index, name, length) != kSuccess) return names;
        names.emplace_back(name, length);
    }
}

std::vector<WideEntry> WideValues(RegistryApi& api, KeyHandle key) {
    std::vector<WideEntry> entries;
    std::vector<char16_t> name(16384);
    std::vector<std::uint8_t> data(4096);
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = static_cast<std::uint32_t>(name.size());
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = kRegNone;
        if (api.RegEnumValueW(key, index, name.data(), length, type, data.data(), size) != kSuccess) return entries;
        entries.push_back({std::u16string(name.data(), length), type,
                           std::string(reinterpret_cast<char*>(data.data()), size)});
    }
}

class RegistryBehaviour : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = MakeRegistryBackend(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(kSuccess, Writer().CreateKey(Root(), backend_->Base()));
    }

    ExportRegistry& Api() { return backend_->Api(); }
    RegistryWriter& Writer() { return backend_->Writer(); }
    RootKey Root() const { return backend_->Root(); }
    std::string Path(const std::string& below) const { return backend_->Base() + "\\" + below; }

    void Key(const std::string& below) { ASSERT_EQ(kSuccess, Writer().CreateKey(Root(), Path(below))); }
    void Value(const std::string& below, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, Writer().SetValue(Root(), Path(below), name, type, bytes));
    }
    UniqueKey Open(const std::string& below, std::uint32_t access = kKeyRead) {
        UniqueKey key(Api());
        EXPECT_EQ(kSuccess, key.Open(Root(), Path(below), access));
        return key;
    }
    void WideValue(const std::string& below, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, backend_->SetValueWide(below, name, type, bytes));
    }
    // Through RegOpenKeyExW, the path below base in UTF-8.
    UniqueKey OpenWide(const std::string& below) {
        UniqueKey key(Api());
        EXPECT_EQ(kSuccess, key.Open(Root(), Utf8ToUtf16(Path(below)), kKeyRead));
        return key;
    }

    std::unique_ptr<RegistryBackend> backend_;
};

TEST_F(RegistryBehaviour, EnumKeyWritesNameAndNulAtStartAndLeavesTheRest) {
    Key("k\\Child");
    UniqueKey key = Open("k");
    char buffer[16];
    std::memset(buffer, ' ', sizeof buffer);
    ASSERT_EQ(kSuccess, Api().RegEnumKeyA(key.get(), 0, buffer, sizeof buffer));
    EXPECT_EQ(std::string("Child\0          ", 16), std::string(buffer, 16));
}

TEST_F(RegistryBehaviour, EnumKeyEndsWith259AndTooSmallBufferGives234) {
    Key("k\\Child");
    UniqueKey key = Open("k");
    char buffer[16] = {};
    EXPECT_EQ(kMoreData, Api().RegEnumKeyA(key.get(), 0, buffer, 5));
    EXPECT_EQ(kNoMoreItems, Api().RegEnumKeyA(key.get(), 1, buffer, sizeof buffer));
}

TEST_F(RegistryBehaviour, SubkeysEnumerateSortedWithoutRegardToCaseAndKeepTheirCase) {
    for (const char* name : {"k\\beta", "k\\Alpha", "k\\{C}", "k\\gamma"}) Key(name);
    UniqueKey key = Open("k");
    std::string names;
    char buffer[64];
    for (std::uint32_t i = 0; Api().RegEnumKeyA(key.get(), i, buffer, sizeof buffer) == kSuccess; ++i) {
        names += std::string(buffer) + "|";
    }
    EXPECT_EQ("Alpha|beta|gamma|{C}|", names);
}

TEST_F(RegistryBehaviour, NamesCompareWithoutRegardToCase) {
    Value("MixedCase\\Sub", "ValueName", kRegSz, std::string("v\0", 2));
    UniqueKey key(Api());
    ASSERT_EQ(kSuccess, key.Open(Root(), Path("MIXEDCASE\\sub"), kKeyRead));
    std::uint8_t data[8];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(kSuccess, Api().RegQueryValueExA(key.get(), "valuename", type, data, size));
    EXPECT_EQ(2u, size);
    // Creating with another case finds the existing key rather than adding one.
    Key("mixedcase\\SUB");
    UniqueKey parent = Open("mixedcase");
    char buffer[16];
    ASSERT_EQ(kSuccess, Api().RegEnumKeyA(parent.get(), 0, buffer, sizeof buffer));
    EXPECT_STREQ("Sub", buffer);
    EXPECT_EQ(kNoMoreItems, Api().RegEnumKeyA(parent.get(), 1, buffer, sizeof buffer));
    // The wide open alike, for letters beyond the code page too.
    WideValue("MixedCase\\Сеть", "v", kRegBinary, "");
    UniqueKey wide(Api());
    EXPECT_EQ(kSuccess, wide.Open(Root(), Utf8ToUtf16(Path("mixedCASE\\sub")), kKeyRead));
    EXPECT_EQ(kSuccess, wide.Open(Root(), Utf8ToUtf16(Path("MIXEDCASE\\сЕТЬ")), kKeyRead));
}

TEST_F(RegistryBehaviour, MissingKeysAndValuesGive2) {
    Key("k");
    UniqueKey key(Api());
    EXPECT_EQ(kFileNotFound, key.Open(Root(), Path("absent"), kKeyRead));
    EXPECT_FALSE(key.isOpen());
    EXPECT_EQ(kFileNotFound, key.Open(Root(), Utf8ToUtf16(Path("absent")), kKeyRead));
    EXPECT_FALSE(key.isOpen());
    UniqueKey present = Open("k");
    std::uint8_t data[8];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(kFileNotFound, Api().RegQueryValueExA(present.get(), "absent", type, data, size));
}

struct TextCase {
    const char* label;
    std::uint32_t type;
    std::string bytes;
    std::string wideBytes;  // as RegEnumValueW gives them
};

class TextSizes : public RegistryBehaviour, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextSizes, TextDataCountsItsTerminatingNul) {
    Value("k", "v", GetParam().type, GetParam().bytes);
    UniqueKey key = Open("k");
    std::uint8_t data[32];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    ASSERT_EQ(kSuccess, Api().RegQueryValueExA(key.get(), "v", type, data, size));
    EXPECT_EQ(GetParam().type, type);
    EXPECT_EQ(GetParam().bytes, std::string(reinterpret_cast<char*>(data), size));

    char name[16];
    std::uint32_t nameLength = sizeof name;
    size = sizeof data;
    ASSERT_EQ(kSuccess, Api().RegEnumValueA(key.get(), 0, name, nameLength, type, data, size));
    EXPECT_EQ(GetParam().bytes.size(), size);

    EXPECT_EQ((std::vector<WideEntry>{{u"v", GetParam().type, GetParam().wideBytes}}), WideValues(Api(), key.get()));
}

// The wide calls give text as stored: UTF-16LE, its NUL two bytes.
INSTANTIATE_TEST_SUITE_P(
    Types, TextSizes,
    ::testing::Values(TextCase{"Sz", kRegSz, "abc\0"s, "a\0b\0c\0\0\0"s},
                      TextCase{"ExpandSz", kRegExpandSz, "%T%\0"s, "%\0T\0%\0\0\0"s},
                      TextCase{"MultiSz", kRegMultiSz, "a\0b\0\0"s, "a\0\0\0b\0\0\0\0\0"s},
                      TextCase{"Latin1Sz", kRegSz, "\xE9\0"s, "\xE9\0\0\0"s},
                      TextCase{"Binary", kRegBinary, "\x0A\xFF\x00"s, "\x0A\xFF\x00"s}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(RegistryBehaviour, QueryTooSmallGives234WithTheNeededSize) {
    Value("k", "big", kRegBinary, std::string(3000, 'x'));
    UniqueKey key = Open("k");
    std::uint8_t data[1024];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(kMoreData, Api().RegQueryValueExA(key.get(), "big", type, data, size));
    EXPECT_EQ(3000u, size);
}

TEST_F(RegistryBehaviour, EnumValueGivesNameLengthWithoutNulAnd234WithNeededSize) {
    Value("k", "Name", kRegSz, std::string("Ethernet\0", 9));
    Value("k", "Zlarge", kRegBinary, std::string(5000, 'x'));
    UniqueKey key = Open("k");
    char name[260];
    std::uint32_t nameLength = sizeof name;
    std::uint32_t type = 0;
    std::uint8_t data[4096];
    std::uint32_t size = sizeof data;
    ASSERT_EQ(kSuccess, Api().RegEnumValueA(key.get(), 0, name, nameLength, type, data, size));
    EXPECT_EQ(4u, nameLength);
    EXPECT_STREQ("Name", name);

    nameLength = sizeof name;
    size = sizeof data;
    EXPECT_EQ(kMoreData, Api().RegEnumValueA(key.get(), 1, name, nameLength, type, data, size));
    EXPECT_EQ(5000u, size);

    nameLength = sizeof name;
    size = sizeof data;
    EXPECT_EQ(kNoMoreItems, Api().RegEnumValueA(key.get(), 2, name, nameLength, type, data, size));
}

TEST_F(RegistryBehaviour, DefaultValueEnumeratesWithAnEmptyName) {
    Value("k", "", kRegSz, std::string("x\0", 2));
    UniqueKey key = Open("k");
    char name[16];
    std::memset(name, ' ', sizeof name);
    std::uint32_t nameLength = sizeof name;
    std::uint32_t type = 0;
    std::uint8_t data[16];
    std::uint32_t size = sizeof data;
    ASSERT_EQ(kSuccess, Api().RegEnumValueA(key.get(), 0, name, nameLength, type, data, size));
    EXPECT_EQ(0u, nameLength);
    EXPECT_EQ('\0', name[0]);
}

TEST_F(RegistryBehaviour, DeleteRemovesTheWholeSubtreeWhileAHandleIsOpen) {
    Value("victim\\a\\deep", "v", kRegSz, std::string("1\0", 2));
    Key("victim\\b");
    Key("survivor");
    UniqueKey held = Open("victim", kReadWriteMask);
    EXPECT_EQ(kSuccess, Api().SHDeleteKeyA(Root(), Path("victim")));

    UniqueKey probe(Api());
    EXPECT_EQ(kFileNotFound, probe.Open(Root(), Path("victim"), kKeyRead));
    EXPECT_EQ(kFileNotFound, probe.Open(Root(), Path("victim\\a\\deep"), kKeyRead));
    EXPECT_EQ(kSuccess, probe.Open(Root(), Path("survivor"), kKeyRead));

    char buffer[16];
    EXPECT_EQ(kKeyDeleted, Api().RegEnumKeyA(held.get(), 0, buffer, sizeof buffer));
    EXPECT_EQ(kSuccess, held.Close());
}

// The ANSI calls list such entries under stand-in names that lead nowhere;
// only the check beyond the six calls tells them from sound ones.
TEST_F(RegistryBehaviour, EntriesBeyondTheAnsiCodePageAreListedUnderNamesThatLeadNowhere) {
    Key("k\\Plain");
    WideValue("k\\Сеть", "v", kRegSz, Utf16Le("x") + "\0\0"s);
    Value("k", "plain", kRegSz, std::string("Caf\xE9\0", 5));  // in the code page
    WideValue("k", "Имя", kRegSz, Utf16Le("x") + "\0\0"s);
    WideValue("k", "text", kRegSz, Utf16Le("Café ☃") + "\0\0"s);
    UniqueKey key = Open("k");

    std::map<std::string, std::pair<AnsiFit, Status>> subkeys;
    char name[260];
    for (std::uint32_t i = 0; Api().RegEnumKeyA(key.get(), i, name, sizeof name) == kSuccess; ++i) {
        UniqueKey child(Api());
        subkeys[name] = {Api().SubkeyAnsiFit(key.get(), i), child.Open(key.get(), name, kKeyRead)};
    }
    ASSERT_EQ(2u, subkeys.size());
    EXPECT_EQ(std::make_pair(AnsiFit::Exact, kSuccess), subkeys["Plain"]);
    subkeys.erase("Plain");
    EXPECT_EQ(std::make_pair(AnsiFit::NameLost, kFileNotFound), subkeys.begin()->second) << subkeys.begin()->first;
    EXPECT_EQ(AnsiFit::NameLost, Api().SubkeyAnsiFit(key.get(), 2)) << "past the last subkey";

    std::map<std::string, std::pair<AnsiFit, Status>> values;
    std::vector<std::uint8_t> data(64);
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t nameLength = sizeof name;
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = 0;
        if (Api().RegEnumValueA(key.get(), i, name, nameLength, type, data.data(), size) != kSuccess) break;
        if (std::string(name) == "text") {
            EXPECT_EQ("Caf\xE9 ?\0"s, std::string(reinterpret_cast<char*>(data.data()), size)) << "a stand-in";
        }
        size = static_cast<std::uint32_t>(data.size());
        values[name] = {Api().ValueAnsiFit(key.get(), i),
                        Api().RegQueryValueExA(key.get(), name, type, data.data(), size)};
    }
    ASSERT_EQ(3u, values.size());
    EXPECT_EQ(std::make_pair(AnsiFit::Exact, kSuccess), values["plain"]);
    EXPECT_EQ(std::make_pair(AnsiFit::DataLost, kSuccess), values["text"]);
    values.erase("plain");
    values.erase("text");
    EXPECT_EQ(std::make_pair(AnsiFit::NameLost, kFileNotFound), values.begin()->second) << values.begin()->first;
}

struct WideEntryCase {
    const char* what;
    std::string key;  // the one subkey of "w", in UTF-8
    std::string name;
    std::uint32_t type;
    std::string bytes;  // as stored: text in UTF-16LE
};

void PrintTo(const WideEntryCase& c, std::ostream* out) { *out << c.what; }

class WideEntries : public RegistryBehaviour, public ::testing::WithParamInterface<WideEntryCase> {};

// The key is listed under its real name, opens by it below its parent, and
// its value comes with its name, type and bytes exactly as stored.
TEST_P(WideEntries, ComeWholeThroughTheWideCalls) {
    const WideEntryCase& c = GetParam();
    WideValue("w\\" + c.key, c.name, c.type, c.bytes);
    UniqueKey parent = OpenWide("w");
    EXPECT_EQ(std::vector<std::u16string>{Utf8ToUtf16(c.key)}, WideSubkeys(Api(), parent.get()));
    UniqueKey key(Api());
    ASSERT_EQ(kSuccess, key.Open(parent.get(), Utf8ToUtf16(c.key), kKeyRead));
    EXPECT_EQ((std::vector<WideEntry>{{Utf8ToUtf16(c.name), c.type, c.bytes}}), WideValues(Api(), key.get()));
}

INSTANTIATE_TEST_SUITE_P(
    BeyondTheCodePage, WideEntries,
    ::testing::Values(
        WideEntryCase{"Cyrillic", "Сеть", "Имя", kRegSz, Utf16Le("Привет") + "\0\0"s},
        WideEntryCase{"Cjk", "日本", "名前", kRegSz, Utf16Le("日本語") + "\0\0"s},
        WideEntryCase{"EmojiAsASurrogatePair", "key 😀", "😀", kRegSz, "a\0\x3D\xD8\x00\xDE\0\0"s},
        WideEntryCase{"Latin1", "Café", "Ñame", kRegSz, "\xE9\0\0\0"s},
        WideEntryCase{"DefaultValue", "Plain", "", kRegSz, Utf16Le("Café ☃") + "\0\0"s},
        WideEntryCase{"MultiSz", "Plain", "multi", kRegMultiSz, Utf16Le("日本\0a\0\0"s)},
        WideEntryCase{"ExpandSz", "Plain", "expand", kRegExpandSz, Utf16Le("%☃%") + "\0\0"s},
        WideEntryCase{"SzOfAnOddByteCount", "Plain", "odd", kRegSz, "a\0b"s},
        WideEntryCase{"SzWithoutItsNul", "Plain", "no nul", kRegSz, Utf16Le("☃")},
        WideEntryCase{"Binary", "Plain", "binary", kRegBinary, "\x00\xFF\x10"s},
        WideEntryCase{"Dword", "Plain", "dword", kRegDword, "\x2A\0\0\0"s}),
    [](const ::testing::TestParamInfo<WideEntryCase>& info) { return info.param.what; });

TEST_F(RegistryBehaviour, WideListingsEndWith259AndTooSmallBuffersGive234) {
    Key("k\\Child");
    Value("k", "Name", kRegSz, "Ethernet\0"s);
    UniqueKey key = Open("k");
    char16_t name[16];
    std::uint32_t length = 5;  // "Child" and its NUL take 6
    EXPECT_EQ(kMoreData, Api().RegEnumKeyExW(key.get(), 0, name, length));
    length = 6;
    ASSERT_EQ(kSuccess, Api().RegEnumKeyExW(key.get(), 0, name, length));
    EXPECT_EQ(5u, length);
    EXPECT_EQ(std::u16string(u"Child\0", 6), std::u16string(name, 6));
    length = 16;
    EXPECT_EQ(kNoMoreItems, Api().RegEnumKeyExW(key.get(), 1, name, length));

    std::uint32_t type = kRegNone;
    std::uint8_t data[32];
    std::uint32_t size = 4;
    length = 16;
    EXPECT_EQ(kMoreData, Api().RegEnumValueW(key.get(), 0, name, length, type, data, size));
    EXPECT_EQ(18u, size) << "the size needed";
    length = 4;  // "Name" and its NUL take 5
    size = sizeof data;
    EXPECT_EQ(kMoreData, Api().RegEnumValueW(key.get(), 0, name, length, type, data, size));
    length = 16;
    size = 0;
    EXPECT_EQ(kSuccess, Api().RegEnumValueW(key.get(), 0, name, length, type, nullptr, size)) << "the size asked";
    EXPECT_EQ(18u, size);
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(u"Name", std::u16string(name, length));
    length = 16;
    size = sizeof data;
    EXPECT_EQ(kNoMoreItems, Api().RegEnumValueW(key.get(), 1, name, length, type, data, size));
}

// Whatever order the platform lists in, both kinds of call list alike.
TEST_F(RegistryBehaviour, WideListingsKeepTheOrderAndCaseOfTheAnsiOnes) {
    for (const char* name : {"k\\beta", "k\\Alpha", "k\\{C}", "k\\gamma", "k\\\xC9t\xE9"}) Key(name);
    for (const char* name : {"zeta", "Alpha", "beta", "\xC9t\xE9", "Gamma"}) Value("k", name, kRegDword, "\1\0\0\0"s);
    UniqueKey key = Open("k");
    std::vector<std::u16string> ansiKeys;
    char buffer[64];
    for (std::uint32_t i = 0; Api().RegEnumKeyA(key.get(), i, buffer, sizeof buffer) == kSuccess; ++i) {
        ansiKeys.push_back(Utf8ToUtf16(Latin1ToUtf8(buffer)));
    }
    EXPECT_EQ((std::vector<std::u16string>{u"Alpha", u"beta", u"gamma", u"{C}", u"Été"}), ansiKeys);
    EXPECT_EQ(ansiKeys, WideSubkeys(Api(), key.get()));

    std::vector<std::u16string> ansiValues;
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t nameLength = sizeof buffer;
        std::uint8_t data[8];
        std::uint32_t size = sizeof data;
        std::uint32_t type = kRegNone;
        if (Api().RegEnumValueA(key.get(), i, buffer, nameLength, type, data, size) != kSuccess) break;
        ansiValues.push_back(Utf8ToUtf16(Latin1ToUtf8(std::string(buffer, nameLength))));
    }
    std::vector<std::u16string> wideValues;
    for (const WideEntry& entry : WideValues(Api(), key.get())) wideValues.push_back(entry.name);
    EXPECT_EQ(5u, ansiValues.size());
    EXPECT_EQ(ansiValues, wideValues);
}

TEST_F(RegistryBehaviour, DeletingAMissingKeyGives2) {
    EXPECT_EQ(kFileNotFound, Api().SHDeleteKeyA(Root(), Path("absent")));
}

// A value is written with its type and bytes as given, over one of the
// same name in any case, and only through a handle opened to set values.
TEST_F(RegistryBehaviour, SetValueWritesTypeAndBytesThroughAHandleThatMaySet) {
    Value("k", "IPAddress", kRegSz, std::string("0.0.0.0\0", 8));
    const std::string bytes("10.1.2.3\0\0", 10);
    EXPECT_EQ(kAccessDenied, Api().RegSetValueExA(Open("k").get(), "ipaddress", kRegMultiSz, bytes));
    ASSERT_EQ(kSuccess, Api().RegSetValueExA(Open("k", kKeyRead | kKeySetValue).get(), "ipaddress", kRegMultiSz, bytes));
    UniqueKey key = Open("k");
    std::uint32_t type = kRegNone;
    std::uint8_t data[32] = {};
    std::uint32_t size = sizeof data;
    ASSERT_EQ(kSuccess, Api().RegQueryValueExA(key.get(), "IPAddress", type, data, size));
    EXPECT_EQ(kRegMultiSz, type);
    EXPECT_EQ(bytes, std::string(reinterpret_cast<char*>(data), size));
}

// A value goes by its name in any case, only through a handle opened to set
// values, and one that is not there gives 2: the hand-over's put-back counts that as gone.
TEST_F(RegistryBehaviour, DeleteValueTakesOneValueThroughAHandleThatMaySet) {
    Value("k", "SubnetMask", kRegMultiSz, std::string("255.0.0.0\0\0", 11));
    Value("k", "Other", kRegSz, std::string("x\0", 2));
    EXPECT_EQ(kAccessDenied, Api().RegDeleteValueA(Open("k").get(), "subnetmask"));
    UniqueKey key = Open("k", kKeyRead | kKeySetValue);
    ASSERT_EQ(kSuccess, Api().RegDeleteValueA(key.get(), "subnetmask"));
    EXPECT_EQ(kFileNotFound, Api().RegDeleteValueA(key.get(), "SubnetMask"));
    std::uint32_t type = kRegNone;
    std::uint8_t data[32] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(kFileNotFound, Api().RegQueryValueExA(key.get(), "SubnetMask", type, data, size));
    size = sizeof data;
    EXPECT_EQ(kSuccess, Api().RegQueryValueExA(key.get(), "Other", type, data, size));
}

TEST_F(RegistryBehaviour, ClosingAnUnknownHandleGives6) {
    EXPECT_EQ(kInvalidHandle, Api().RegCloseKey(0x7FFFF0));
}

}  // namespace
}  // namespace tarvex::testing

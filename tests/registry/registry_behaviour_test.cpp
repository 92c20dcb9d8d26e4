// What the program relies on from the platform's registry calls. The same
// cases run against the in-memory registry and, under wine, the real one.
#include "registry/registry_backend.h"
#include "registry/unique_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>
#include <memory>

namespace tarvex::testing {
namespace {

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
}

TEST_F(RegistryBehaviour, MissingKeysAndValuesGive2) {
    Key("k");
    UniqueKey key(Api());
    EXPECT_EQ(kFileNotFound, key.Open(Root(), Path("absent"), kKeyRead));
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
}

INSTANTIATE_TEST_SUITE_P(Types, TextSizes,
                         ::testing::Values(TextCase{"Sz", kRegSz, std::string("abc\0", 4)},
                                           TextCase{"ExpandSz", kRegExpandSz, std::string("%TEMP%\0", 7)},
                                           TextCase{"MultiSz", kRegMultiSz, std::string("a\0b\0\0", 5)},
                                           TextCase{"Binary", kRegBinary, std::string("\x0A\xFF\x00", 3)}),
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
    backend_->AddKeyBeyondAnsi("k");
    Value("k", "plain", kRegSz, std::string("Caf\xE9\0", 5));  // in the code page
    backend_->AddValueNameBeyondAnsi("k");
    backend_->AddTextBeyondAnsi("k", "text");
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

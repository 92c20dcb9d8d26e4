// What only the in-memory registry can show: rights, per-handle access,
// injected faults and growing values.
#include "registry/unique_key.h"
#include "support/memory_registry.h"
#include "support/utf16_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr const char* kPath = "SYSTEM\\Locked";

class MemoryRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(kSuccess, registry_.SetValue(kLocalMachine, kPath, "v", kRegSz, "x")); }
    MemoryRegistry registry_;
};

struct AccessCase {
    KeyRights rights;
    std::uint32_t access;
    Status expected;
};

class OpenRights : public MemoryRegistryTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(OpenRights, AreCheckedAgainstTheMask) {
    registry_.SetRights(kLocalMachine, kPath, GetParam().rights);
    UniqueKey key(registry_);
    EXPECT_EQ(GetParam().expected, key.Open(kLocalMachine, kPath, GetParam().access));
}

INSTANTIATE_TEST_SUITE_P(Masks, OpenRights,
                         ::testing::Values(AccessCase{{true, false}, kReadWriteMask, kAccessDenied},
                                           AccessCase{{true, false}, kEnumerateSubKeys, kSuccess},
                                           AccessCase{{true, false}, kKeyRead, kSuccess},
                                           AccessCase{{false, false}, kEnumerateSubKeys, kAccessDenied},
                                           AccessCase{{true, true}, kReadWriteMask, kSuccess}));

TEST_F(MemoryRegistryTest, HandlesKeepTheAccessTheyWereGranted) {
    UniqueKey enumerateOnly(registry_);
    ASSERT_EQ(kSuccess, enumerateOnly.Open(kLocalMachine, kPath, kEnumerateSubKeys));
    std::uint8_t data[8];
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(kAccessDenied, registry_.RegQueryValueExA(enumerateOnly.get(), "v", type, data, size));
    char buffer[8];
    EXPECT_EQ(kNoMoreItems, registry_.RegEnumKeyA(enumerateOnly.get(), 0, buffer, sizeof buffer));
}

TEST_F(MemoryRegistryTest, ReadOnlyKeysCannotBeDeleted) {
    registry_.SetRights(kLocalMachine, kPath, {true, false});
    EXPECT_EQ(kAccessDenied, registry_.SHDeleteKeyA(kLocalMachine, kPath));
    EXPECT_TRUE(registry_.KeyExists(kLocalMachine, kPath));
}

TEST_F(MemoryRegistryTest, InjectedFaultHitsTheChosenCallOnce) {
    registry_.InjectFault({RegistryCall::OpenKey, 1450, 1});
    UniqueKey key(registry_);
    EXPECT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    EXPECT_EQ(1450, key.Open(kLocalMachine, kPath, kKeyRead));
    EXPECT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    EXPECT_EQ(3, registry_.CallCount(RegistryCall::OpenKey));
}

struct WideCallCase {
    const char* what;
    RegistryCall call;
    std::function<Status(MemoryRegistry&, KeyHandle)> make;  // the call on the key at kPath
};

void PrintTo(const WideCallCase& c, std::ostream* out) { *out << c.what; }

class WideCallFaults : public MemoryRegistryTest, public ::testing::WithParamInterface<WideCallCase> {};

TEST_P(WideCallFaults, HitTheChosenCallOnceAndAreCounted) {
    UniqueKey key(registry_);
    ASSERT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    registry_.InjectFault({GetParam().call, 1450});
    EXPECT_EQ(1450, GetParam().make(registry_, key.get()));
    EXPECT_NE(1450, GetParam().make(registry_, key.get()));
    EXPECT_EQ(2, registry_.CallCount(GetParam().call));
}

INSTANTIATE_TEST_SUITE_P(
    EachWideCall, WideCallFaults,
    ::testing::Values(WideCallCase{"Open", RegistryCall::OpenKeyW,
                                   [](MemoryRegistry& r, KeyHandle) {
                                       UniqueKey opened(r);
                                       return opened.Open(kLocalMachine, WideText(u"SYSTEM\\Locked"), kKeyRead);
                                   }},
                      WideCallCase{"EnumKey", RegistryCall::EnumKeyW,
                                   [](MemoryRegistry& r, KeyHandle key) {
                                       char16_t name[8];
                                       std::uint32_t length = 8;
                                       return r.RegEnumKeyExW(key, 0, name, length);
                                   }},
                      WideCallCase{"EnumValue", RegistryCall::EnumValueW,
                                   [](MemoryRegistry& r, KeyHandle key) {
                                       char16_t name[8];
                                       std::uint32_t length = 8;
                                       std::uint32_t type = 0;
                                       std::uint32_t size = 0;
                                       return r.RegEnumValueW(key, 0, name, length, type, nullptr, size);
                                   }}),
    [](const ::testing::TestParamInfo<WideCallCase>& info) { return info.param.what; });

struct ValueViewCase {
    const char* what;
    std::function<void(MemoryRegistry&)> seed;  // the value "v" at kPath
    std::string ansiBytes;
    std::string wideBytes;
    Utf8Text unicodeText;
    AnsiFit fit;
};

void PrintTo(const ValueViewCase& c, std::ostream* out) { *out << c.what; }

class ValueViews : public MemoryRegistryTest, public ::testing::WithParamInterface<ValueViewCase> {};

// Each kind of call sees a value as Windows would show it, however it was seeded.
TEST_P(ValueViews, AgreeWithEachOther) {
    GetParam().seed(registry_);
    UniqueKey key(registry_);
    ASSERT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    std::uint8_t data[64];
    char ansiName[8];
    std::uint32_t length = sizeof ansiName;
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    ASSERT_EQ(kSuccess, registry_.RegEnumValueA(key.get(), 0, ansiName, length, type, data, size));
    EXPECT_EQ(GetParam().ansiBytes, std::string(reinterpret_cast<char*>(data), size));
    char16_t wideName[8];
    length = 8;
    size = sizeof data;
    ASSERT_EQ(kSuccess, registry_.RegEnumValueW(key.get(), 0, wideName, length, type, data, size));
    EXPECT_EQ(GetParam().wideBytes, std::string(reinterpret_cast<char*>(data), size));
    Utf8Text text;
    ASSERT_EQ(kSuccess, registry_.QueryUnicodeText(key.get(), "v", type, text));
    EXPECT_EQ(GetParam().unicodeText, text);
    EXPECT_EQ(GetParam().fit, registry_.ValueAnsiFit(key.get(), 0));
}

INSTANTIATE_TEST_SUITE_P(
    Seedings, ValueViews,
    ::testing::Values(
        ValueViewCase{"AnsiText",
                      [](MemoryRegistry& r) { r.SetValue(kLocalMachine, kPath, "v", kRegSz, "Caf\xE9\0"s); },
                      "Caf\xE9\0"s, "C\0a\0f\0\xE9\0\0\0"s, "Café", AnsiFit::Exact},
        ValueViewCase{"WideText",
                      [](MemoryRegistry& r) {
                          r.SetValueWide(kLocalMachine, kPath, "v", kRegSz, "\xE9\0\x03\x26\0\0"s);
                      },
                      "\xE9?\0"s, "\xE9\0\x03\x26\0\0"s, "é☃", AnsiFit::DataLost},
        ValueViewCase{"WideTextOfAnOddByteCount",
                      [](MemoryRegistry& r) { r.SetValueWide(kLocalMachine, kPath, "v", kRegSz, "a\0b"s); },
                      "a", "a\0b"s, "a", AnsiFit::DataLost},
        ValueViewCase{"UnicodeTextBesideItsStandIn",
                      [](MemoryRegistry& r) { r.SetUnicodeText(kLocalMachine, kPath, "v", "é☃", "e?"); },
                      "e?\0"s, "\xE9\0\x03\x26\0\0"s, "é☃", AnsiFit::Exact},
        ValueViewCase{"WideBinary",
                      [](MemoryRegistry& r) { r.SetValueWide(kLocalMachine, kPath, "v", kRegBinary, "\xE9\0\x03"s); },
                      "\xE9\0\x03"s, "\xE9\0\x03"s, "", AnsiFit::Exact}),
    [](const ::testing::TestParamInfo<ValueViewCase>& info) { return info.param.what; });

TEST_F(MemoryRegistryTest, ValueGrowsAfterEachSizeReport) {
    registry_.GrowValueAfterSizeReport(kLocalMachine, kPath, "V", 10, 1);
    UniqueKey key(registry_);
    ASSERT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    std::uint8_t data[64];
    EXPECT_EQ(kMoreData, registry_.RegQueryValueExA(key.get(), "v", type, data, size));
    EXPECT_EQ(1u, size);
    size = 1;
    EXPECT_EQ(kMoreData, registry_.RegQueryValueExA(key.get(), "v", type, data, size));
    EXPECT_EQ(11u, size);
    size = sizeof data;
    EXPECT_EQ(kSuccess, registry_.RegQueryValueExA(key.get(), "v", type, data, size));
    EXPECT_EQ(11u, size);
}

TEST_F(MemoryRegistryTest, ClosedHandlesAreGoneAndCounted) {
    UniqueKey key(registry_);
    ASSERT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    KeyHandle handle = key.get();
    EXPECT_EQ(1u, registry_.OpenHandleCount());
    EXPECT_EQ(kSuccess, key.Close());
    EXPECT_EQ(0u, registry_.OpenHandleCount());
    EXPECT_EQ(kInvalidHandle, registry_.RegCloseKey(handle));
}

TEST_F(MemoryRegistryTest, PutReleasesWhatTheKeyHeld) {
    UniqueKey key(registry_);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(kSuccess, key.Open(kLocalMachine, kPath, kKeyRead));
    EXPECT_EQ(1u, registry_.OpenHandleCount());
}

}  // namespace
}  // namespace tarvex

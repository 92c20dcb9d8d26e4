// What only the in-memory registry can show: rights, per-handle access,
// injected faults and growing values.
#include "registry/unique_key.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

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

#include "registry/mod_reg.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

constexpr const char* kKey = "SYSTEM\\Net\\{A}\\Connection";

class ReadValueTest : public ::testing::Test {
protected:
    void Store(std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry_.SetValue(kLocalMachine, kKey, "Name", type, bytes));
    }
    bool Read(std::string& text) { return ReadValue(registry_, kLocalMachine, kKey, "Name", text); }
    MemoryRegistry registry_;
};

TEST_F(ReadValueTest, SzWithoutNulGivesTheWholeData) {
    Store(kRegSz, "abc");
    std::string text;
    EXPECT_TRUE(Read(text));
    EXPECT_EQ("abc", text);
}

TEST_F(ReadValueTest, LongValueTakesASecondQueryOfItsSizePlus1024) {
    Store(kRegSz, std::string(5000, 'n') + '\0');
    std::string text;
    EXPECT_TRUE(Read(text));
    EXPECT_EQ(std::string(5000, 'n'), text);
    EXPECT_EQ(2, registry_.CallCount(RegistryCall::QueryValue));
}

TEST_F(ReadValueTest, ValueThatKeepsGrowingIsQueriedUntilItFits) {
    Store(kRegSz, std::string(2000, 'n'));
    // Each growth outruns the 1024-byte margin, so the read must retry.
    registry_.GrowValueAfterSizeReport(kLocalMachine, kKey, "Name", 1500, 3);
    std::string text;
    EXPECT_TRUE(Read(text));
    EXPECT_EQ(std::string(2000, 'n') + std::string(4500, 'g'), text);
    EXPECT_EQ(5, registry_.CallCount(RegistryCall::QueryValue));
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

TEST_F(ReadValueTest, ReadOnlyKeyGivesFalse) {
    Store(kRegSz, std::string("Ethernet\0", 9));
    registry_.SetRights(kLocalMachine, kKey, {true, false});
    std::string text = "stale";
    EXPECT_FALSE(Read(text));
    EXPECT_EQ("", text);
}

struct FailureCase {
    const char* label;
    RegistryFault fault;
};

class ReadValueFailures : public ReadValueTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ReadValueFailures, GiveFalseEmptyTextAndCloseTheKey) {
    Store(kRegSz, std::string("Ethernet\0", 9));
    registry_.InjectFault(GetParam().fault);
    std::string text = "stale";
    EXPECT_FALSE(Read(text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadValueFailures,
    ::testing::Values(FailureCase{"OpenFails", {RegistryCall::OpenKey, kAccessDenied}},
                      FailureCase{"QueryFails", {RegistryCall::QueryValue, 1450}},
                      // A size that cannot grow by the margin within 32 bits.
                      FailureCase{"NeededSizeOverflows", {RegistryCall::QueryValue, kMoreData, 0, 0xFFFFFF00u}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ReadValueTest, DwordLongerThanFourBytesGivesAllItsBytesMostSignificantFirst) {
    Store(kRegDword, std::string("\x01\x02\x03\xab\x05\x00", 6));  // the last NUL goes by the trailing-NUL rule
    std::string text;
    EXPECT_TRUE(Read(text));
    EXPECT_EQ("&h05AB030201", text);
}

TEST_F(ReadValueTest, DwordWithZeroHighByteReadsThreeBytes) {
    Store(kRegDword, std::string("\x01\x00\x01\x00", 4));
    std::string text;
    EXPECT_TRUE(Read(text));
    EXPECT_EQ("65537", text);
}

TEST_F(ReadValueTest, UnconvertedTypesGiveTrueAndEmptyText) {
    for (std::uint32_t type : {kRegNone, 5u, 6u, 8u, kRegQword}) {
        Store(type, std::string("\x01\x02", 2));
        std::string text = "stale";
        EXPECT_TRUE(Read(text)) << type;
        EXPECT_EQ("", text) << type;
    }
}

}  // namespace
}  // namespace tarvex

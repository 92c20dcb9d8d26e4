// A key's subtree read through the wide calls: exactly as stored, each key
// opened once, and whole only when nothing of it was lost.
#include "export/read_wide_tree.h"
#include "support/memory_registry.h"
#include "support/utf16_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kTree[] = "SYSTEM\\T";

std::vector<std::uint8_t> Raw(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

class ReadWideTreeTest : public ::testing::Test {
protected:
    void Seed(const std::string& below, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry_.SetValueWide(kLocalMachine, kTree + below, name, type, bytes));
    }
    WideTreeRead Read() { return ReadWideTree(registry_, kLocalMachine, u"SYSTEM\\T"); }

    MemoryRegistry registry_;
};

TEST_F(ReadWideTreeTest, GivesNamesTypesAndBytesAsStored) {
    Seed("", "", kRegSz, Utf16Le("Café ☃") + "\0\0"s);
    Seed("", "Имя", kRegMultiSz, Utf16Le("日本\0😀\0\0"s));
    Seed("", "odd", kRegSz, "a\0b"s);
    Seed("\\Сеть", "n", kRegDword, "\x2A\0\0\0"s);
    Seed("\\Сеть\\Deeper", "b", kRegBinary, "\xFF"s);
    Seed("\\Alpha", "q", kRegQword, "\1\2\3\4\5\6\7\x08"s);
    const WideTreeRead read = Read();
    ASSERT_TRUE(read.tree);
    EXPECT_TRUE(read.whole);
    EXPECT_EQ(kLocalMachine, read.tree->root);
    const WideKey expected{
        u"SYSTEM\\T",
        {{u"", kRegSz, Raw(Utf16Le("Café ☃") + "\0\0"s)},
         {u"odd", kRegSz, Raw("a\0b"s)},
         {u"Имя", kRegMultiSz, Raw(Utf16Le("日本\0😀\0\0"s))}},
        {{u"Alpha", {{u"q", kRegQword, Raw("\1\2\3\4\5\6\7\x08"s)}}, {}},
         {u"Сеть", {{u"n", kRegDword, Raw("\x2A\0\0\0"s)}}, {{u"Deeper", {{u"b", kRegBinary, Raw("\xFF")}}, {}}}}}};
    EXPECT_EQ(expected, read.tree->top);
}

TEST_F(ReadWideTreeTest, OpensEachKeyOnceBelowItsParent) {
    Seed("\\A\\A1", "v", kRegBinary, "");
    Seed("\\B", "v", kRegBinary, "");
    ASSERT_TRUE(Read().tree);
    EXPECT_EQ((std::vector<std::string>{"SYSTEM\\T", "A", "A1", "B"}), registry_.OpenedPaths());
    EXPECT_EQ(0, registry_.CallCount(RegistryCall::OpenKey));
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

// Bigger than the first buffer, and bigger again after each size report.
TEST_F(ReadWideTreeTest, ValueThatGrowsIsReadAtItsLastSize) {
    Seed("", "big", kRegBinary, std::string(5000, 'b'));
    registry_.GrowValueAfterSizeReport(kLocalMachine, kTree, "big", 100, 2);
    const WideTreeRead read = Read();
    ASSERT_TRUE(read.tree);
    EXPECT_TRUE(read.whole);
    ASSERT_EQ(1u, read.tree->top.values.size());
    EXPECT_EQ(Raw(std::string(5000, 'b') + std::string(200, 'g')), read.tree->top.values[0].bytes);
}

struct ReadCase {
    const char* what;
    std::function<void(MemoryRegistry&)> arrange;  // on SYSTEM\T with values v, w and subkeys A (with A1) and B
    bool treeRead;
    bool whole;
    std::size_t keysRead = 4;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.what; }

class WholeOrNot : public ReadWideTreeTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(WholeOrNot, SaysWhetherAnythingWasLost) {
    Seed("", "v", kRegSz, "x\0\0\0"s);
    Seed("", "w", kRegBinary, "\1"s);
    Seed("\\A\\A1", "v", kRegBinary, "\1"s);
    Seed("\\B", "v", kRegBinary, "\1"s);
    GetParam().arrange(registry_);
    const WideTreeRead read = Read();
    EXPECT_EQ(GetParam().treeRead, read.tree.has_value());
    EXPECT_EQ(GetParam().whole, read.whole);
    EXPECT_EQ(0u, registry_.OpenHandleCount());
    if (!read.tree) return;
    std::function<std::size_t(const WideKey&)> count = [&](const WideKey& key) {
        std::size_t keys = 1;
        for (const WideKey& subkey : key.subkeys) keys += count(subkey);
        return keys;
    };
    EXPECT_EQ(GetParam().keysRead, count(read.tree->top));
}

constexpr Status kSomeFailure = 1450;

INSTANTIATE_TEST_SUITE_P(
    Reads, WholeOrNot,
    ::testing::Values(
        ReadCase{"Sound", [](MemoryRegistry&) {}, true, true},
        ReadCase{"MissingKeyLosesNothing",
                 [](MemoryRegistry& r) { ASSERT_EQ(kSuccess, r.SHDeleteKeyA(kLocalMachine, kTree)); }, false, true},
        ReadCase{"LockedKey", [](MemoryRegistry& r) { r.SetRights(kLocalMachine, kTree, {.canRead = false}); },
                 false, false},
        ReadCase{"LockedSubkey",
                 [](MemoryRegistry& r) { r.SetRights(kLocalMachine, "SYSTEM\\T\\A", {.canRead = false}); }, true,
                 false, 2},
        ReadCase{"SubkeyGoneAfterItsParentListedIt",
                 [](MemoryRegistry& r) { r.InjectFault({RegistryCall::OpenKeyW, kFileNotFound, 1}); }, true, false, 2},
        ReadCase{"KeyListingEndsEarly",
                 [](MemoryRegistry& r) { r.InjectFault({RegistryCall::EnumKeyW, kSomeFailure, 1}); }, true, false, 3},
        ReadCase{"ValueListingEndsEarly",
                 [](MemoryRegistry& r) { r.InjectFault({RegistryCall::EnumValueW, kSomeFailure, 1}); }, true, false},
        ReadCase{"SizeReportThatTheBufferAlreadyHolds",
                 [](MemoryRegistry& r) { r.InjectFault({RegistryCall::EnumValueW, kMoreData, 0, 1}); }, true, false},
        ReadCase{"SizeReportThatGrows",
                 [](MemoryRegistry& r) { r.InjectFault({RegistryCall::EnumValueW, kMoreData, 0, 8192}); }, true, true},
        ReadCase{"NamesBeyondTheCodePage",
                 [](MemoryRegistry& r) {
                     ASSERT_EQ(kSuccess, r.SetValueWide(kLocalMachine, "SYSTEM\\T\\Сеть", "Имя", kRegSz, "\x03\x26\0\0"s));
                 },
                 true, true, 5}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

// The registry operations over each registry: in memory natively, the
// platform's own under wine.
#include "registry/mod_reg.h"
#include "registry/registry_backend.h"

#include <gtest/gtest.h>

#include <memory>

namespace tarvex::testing {
namespace {

class ModRegOverRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = MakeRegistryBackend(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(kSuccess, backend_->Writer().CreateKey(backend_->Root(), backend_->Base()));
    }
    std::string Path(const std::string& below) const { return backend_->Base() + "\\" + below; }
    void Key(const std::string& below) {
        ASSERT_EQ(kSuccess, backend_->Writer().CreateKey(backend_->Root(), Path(below)));
    }
    void Value(const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, backend_->Writer().SetValue(backend_->Root(), Path("k"), name, type, bytes));
    }
    Status List(const std::string& below, std::string& list) {
        return ListSubkeys(backend_->Api(), backend_->RootName(), Path(below), list);
    }
    bool Read(const std::string& name, std::string& text) {
        return ReadValue(backend_->Api(), backend_->Root(), Path("k"), name, text);
    }

    std::unique_ptr<RegistryBackend> backend_;
};

TEST_F(ModRegOverRegistry, ListSubkeysTextShapes) {
    Key("two\\{B}");
    Key("two\\{A}");
    Key("none");
    std::string two, none, missing = "kept";
    EXPECT_EQ(kSuccess, List("two", two));
    EXPECT_EQ(std::string("{A}\0{B}\0\0", 9), two);
    EXPECT_EQ(kSuccess, List("none", none));
    EXPECT_EQ(std::string("\0\0", 2), none);
    EXPECT_EQ(kFileNotFound, List("absent", missing));
    EXPECT_EQ("kept", missing);
}

TEST_F(ModRegOverRegistry, ListSubkeysDropsLeadingBlanksAndKeepsTrailingOnes) {
    Key("blanks\\  lead");
    Key("blanks\\trail  ");
    std::string list;
    EXPECT_EQ(kSuccess, List("blanks", list));
    EXPECT_EQ(std::string("lead\0trail  \0\0", 14), list);
}

struct ReadCase {
    const char* label;
    std::uint32_t type;
    std::string stored;
    std::string text;
};

class ReadValueShapes : public ModRegOverRegistry, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadValueShapes, GiveTheirText) {
    Value("v", GetParam().type, GetParam().stored);
    std::string text = "stale";
    EXPECT_TRUE(Read("v", text));
    EXPECT_EQ(GetParam().text, text);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ReadValueShapes,
    ::testing::Values(ReadCase{"SzWithNul", kRegSz, std::string("Ethernet\0", 9), "Ethernet"},
                      ReadCase{"SzLongerThanFirstBuffer", kRegSz, std::string(3000, 'n') + '\0', std::string(3000, 'n')},
                      ReadCase{"MultiSzKeepsNulAfterLastString", kRegMultiSz, std::string("a\0b\0\0", 5),
                               std::string("a\0b\0", 4)},
                      ReadCase{"Binary", kRegBinary, std::string("\x01\x0A\xFF", 3), "01,0a,ff,00"},
                      ReadCase{"BinaryEndingInZero", kRegBinary, std::string("\x01\x02\x00", 3), "01,02,00"},
                      ReadCase{"BinarySingleZero", kRegBinary, std::string("\x00", 1), "00"},
                      ReadCase{"BinaryEmpty", kRegBinary, "", ""},
                      ReadCase{"Dword", kRegDword, std::string("\x2A\x01\x00\x00", 4), "298"},
                      ReadCase{"DwordHighBitSet", kRegDword, std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
                      ReadCase{"ExpandSzNotConverted", kRegExpandSz, std::string("%TEMP%\0", 7), ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ModRegOverRegistry, MissingValueGivesFalseAndEmptyText) {
    Key("k");
    std::string text = "stale";
    EXPECT_FALSE(Read("absent", text));
    EXPECT_EQ("", text);
}

TEST_F(ModRegOverRegistry, DeleteKeyRemovesSubtreeAndPassesAMissingKeyAsNothingToDo) {
    Key("k\\victim\\Connection\\deep");
    Value("v", kRegSz, std::string("x\0", 2));
    RegistryApi& api = backend_->Api();
    EXPECT_EQ(kSuccess, DeleteKey(api, backend_->Root(), Path("k\\victim")));
    std::string list;
    EXPECT_EQ(kSuccess, List("k", list));
    EXPECT_EQ(std::string("\0\0", 2), list);
    EXPECT_EQ(kSuccess, DeleteKey(api, backend_->Root(), Path("k\\victim")));
}

}  // namespace
}  // namespace tarvex::testing

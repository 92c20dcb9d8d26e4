#include "registry/mod_reg.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarvex {
namespace {

struct HexCase {
    std::string data;
    std::string list;
};

class BytesToHexListShapes : public ::testing::TestWithParam<HexCase> {};

TEST_P(BytesToHexListShapes, AlwaysEndInDoubleZero) { EXPECT_EQ(GetParam().list, BytesToHexList(GetParam().data)); }

INSTANTIATE_TEST_SUITE_P(Data, BytesToHexListShapes,
                         ::testing::Values(HexCase{std::string("\x01\x0A\xFF", 3), "01,0a,ff,00"},
                                           HexCase{"", "00"}, HexCase{std::string("\x00", 1), "00,00"},
                                           HexCase{std::string("\x7F\x80", 2), "7f,80,00"}));

struct PadCase {
    std::string text;
    int width;
    std::string padded;
};

class PadZerosFills : public ::testing::TestWithParam<PadCase> {};

TEST_P(PadZerosFills, ToTheWidth) { EXPECT_EQ(GetParam().padded, PadZeros(GetParam().text, GetParam().width)); }

INSTANTIATE_TEST_SUITE_P(Widths, PadZerosFills,
                         ::testing::Values(PadCase{"7", 2, "07"}, PadCase{"", 2, "00"}, PadCase{"ab", 2, "ab"},
                                           PadCase{"2a", 8, "0000002a"}, PadCase{"", 0, ""}));

TEST(PadZeros, TextLongerThanWidthIsAnErrorNotCut) {
    EXPECT_THROW(PadZeros("abc", 2), std::invalid_argument);
    EXPECT_THROW(PadZeros("", -1), std::invalid_argument);
}

}  // namespace
}  // namespace tarvex

#include "export_fixture.h"

namespace tarvex {
namespace {

using namespace std::string_literals;

class Enumeration : public ExportFixture {};

TEST_F(Enumeration, EmptyPathEnumeratesTheGivenHandleWithoutOpeningIt) {
    Value("SYSTEM\\K\\Sub", "v", kRegSz, "t\0"s);
    KeyHandle key = 0;
    ASSERT_EQ(kSuccess, registry_.RegOpenKeyExA(kLocalMachine, "SYSTEM\\K\\Sub", 0, kKeyRead, key));
    int opensBefore = registry_.CallCount(RegistryCall::OpenKey);

    std::vector<ValueEntry> values = EnumValues(registry_, key, "");
    ASSERT_EQ(1u, values.size());
    EXPECT_EQ("t", values[0].text);
    EXPECT_EQ((std::vector<std::string>{"Sub"}), EnumKeys(registry_, kLocalMachine, "SYSTEM\\K"));
    EXPECT_EQ(opensBefore + 1, registry_.CallCount(RegistryCall::OpenKey));
    registry_.RegCloseKey(key);
}

TEST_F(Enumeration, MissingKeyIsEmptyAndNoError) {
    EXPECT_TRUE(EnumValues(registry_, kLocalMachine, "SYSTEM\\None").empty());
    EXPECT_TRUE(EnumKeys(registry_, kLocalMachine, "SYSTEM\\None").empty());
    EXPECT_FALSE(BackupError);
}

TEST_F(Enumeration, UnreadableKeyIsEmptyAndAnError) {
    Value("SYSTEM\\Locked\\Sub", "v", kRegSz, "t\0"s);
    registry_.SetRights(kLocalMachine, "SYSTEM\\Locked", {.canRead = false});
    EXPECT_TRUE(EnumKeys(registry_, kLocalMachine, "SYSTEM\\Locked").empty());
    EXPECT_TRUE(BackupError);
    BackupError = false;
    EXPECT_EQ(1u, EnumValues(registry_, kLocalMachine, "SYSTEM\\Locked\\Sub").size());
    EXPECT_FALSE(BackupError) << "only the locked key itself is unreadable";
}

TEST_F(Enumeration, LongNamesAndLongDataKeepTheRestOfTheListing) {
    const std::string longest(16383, 'n');
    const std::string long300(300, 'm');
    Value("SYSTEM\\K", "a", kRegDword, "\1\0\0\0"s);
    Value("SYSTEM\\K", long300, kRegBinary, std::string(5000, '\x7'));
    Value("SYSTEM\\K", longest, kRegSz, "x\0"s);
    Value("SYSTEM\\K", "z", kRegDword, "\2\0\0\0"s);

    std::vector<ValueEntry> values = EnumValues(registry_, kLocalMachine, "SYSTEM\\K");
    ASSERT_EQ(4u, values.size());
    EXPECT_EQ(long300, values[1].name);
    EXPECT_EQ(std::vector<std::uint8_t>(5000, 7), values[1].bytes);
    EXPECT_EQ(longest, values[2].name);
    EXPECT_EQ("z", values[3].name);
    EXPECT_FALSE(BackupError);
}

// In a double-byte code page a name of 255 characters takes up to 510 bytes,
// and one of 16,383 up to 32,766; the siblings after them must still come.
class LongestNames : public Enumeration, public ::testing::WithParamInterface<std::string> {};

// The longest names (255 and 16,383 characters) in the code page's widest
// characters: two bytes in a double-byte code page, three in UTF-8.
TEST_P(LongestNames, KeepTheirSiblings) {
    std::string longestKey;
    for (int i = 0; i < 255; ++i) longestKey += GetParam();
    std::string longestValue;
    for (int i = 0; i < 16383; ++i) longestValue += GetParam();
    Key("SYSTEM\\K\\" + longestKey);
    Key("SYSTEM\\K\\\xFF after");
    Value("SYSTEM\\K", longestValue, kRegDword, "\1\0\0\0"s);
    Value("SYSTEM\\K", "\xFF after", kRegDword, "\2\0\0\0"s);

    EXPECT_EQ((std::vector<std::string>{longestKey, "\xFF after"}), EnumKeys(registry_, kLocalMachine, "SYSTEM\\K"));
    std::vector<ValueEntry> values = EnumValues(registry_, kLocalMachine, "SYSTEM\\K");
    ASSERT_EQ(2u, values.size());
    EXPECT_EQ(longestValue, values[0].name);
    EXPECT_EQ("\xFF after", values[1].name);
    EXPECT_FALSE(BackupError);
}

INSTANTIATE_TEST_SUITE_P(CodePages, LongestNames, ::testing::Values("\x82\xA0", "\xE2\x82\xAC"),
                         [](const auto& info) { return info.param.size() == 2 ? "DoubleByte" : "Utf8"; });

struct DwordCase {
    std::string decimal;
    std::string hex;
};

class HexDwordDigits : public ::testing::TestWithParam<DwordCase> {};

TEST_P(HexDwordDigits, AreEightLowerCaseDigitsOfTheTwosComplement) {
    EXPECT_EQ(GetParam().hex, HexDword(GetParam().decimal, 8));
}

INSTANTIATE_TEST_SUITE_P(Numbers, HexDwordDigits,
                         ::testing::Values(DwordCase{"42", "0000002a"}, DwordCase{"-1", "ffffffff"},
                                           DwordCase{"0", "00000000"}, DwordCase{"2147483647", "7fffffff"},
                                           DwordCase{"-2147483648", "80000000"}, DwordCase{"48879", "0000beef"}));

}  // namespace
}  // namespace tarvex

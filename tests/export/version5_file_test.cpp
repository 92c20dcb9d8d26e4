// The Version 5 file, byte for byte: every form of value, names and data
// beyond any code page, the names the format must escape or cannot hold,
// the tree's order, and hex lines wrapped as regedit wraps them.
#include "export/version5_file.h"
#include "support/registry_constants.h"
#include "support/utf16_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

std::vector<std::uint8_t> Raw(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

// UTF-8 text as the registry stores it: UTF-16LE and its NUL.
std::vector<std::uint8_t> Text(const std::string& utf8) { return Raw(Utf16Le(utf8) + "\0\0"s); }

std::vector<std::uint8_t> Counting(int count) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
    return bytes;
}

WideValue Value(const std::string& utf8Name, std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return {Utf8ToUtf16(utf8Name), type, std::move(bytes)};
}

WideKey Key(const std::string& utf8Name, std::vector<WideValue> values, std::vector<WideKey> subkeys = {}) {
    return {Utf8ToUtf16(utf8Name), std::move(values), std::move(subkeys)};
}

// The file's text in UTF-8, for failures a reader can follow; the mark and
// the byte order are checked byte for byte in a test of their own.
std::string TextOf(const Version5File& file) {
    EXPECT_EQ("\xFF\xFE"s, file.bytes.substr(0, 2));
    EXPECT_EQ(0u, file.bytes.size() % 2);
    return Utf16ToUtf8(Utf16FromLeBytes(file.bytes.substr(2)));
}

TEST(Version5File, IsUtf16LeAfterItsByteOrderMark) {
    const WideTree tree{kCurrentUser, Key("A", {Value("", kRegSz, Text("é☃"))})};
    EXPECT_EQ("\xFF\xFE"
              "W\0i\0n\0d\0o\0w\0s\0 \0R\0e\0g\0i\0s\0t\0r\0y\0 \0E\0d\0i\0t\0o\0r\0 \0V\0e\0r\0s\0i\0o\0n\0 \0"
              "5\0.\0" "0\0" "0\0" "\r\0\n\0"
              "\r\0\n\0"
              "[\0H\0K\0E\0Y\0_\0C\0U\0R\0R\0E\0N\0T\0_\0U\0S\0E\0R\0\\\0A\0]\0\r\0\n\0"
              "@\0=\0\"\0\xE9\0\x03\x26\"\0\r\0\n\0"
              "\r\0\n\0"s,
              Version5FileOf({tree}).bytes);
}

struct ValueLineCase {
    const char* what;
    WideValue value;
    std::string line;  // as the file holds it, but for its line end
};

void PrintTo(const ValueLineCase& c, std::ostream* out) { *out << c.what; }

class ValueLines : public ::testing::TestWithParam<ValueLineCase> {};

// Each form must import back as the same name, type and bytes.
TEST_P(ValueLines, WriteTheLineThatRestoresNameTypeAndBytes) {
    const Version5File file = Version5FileOf({{kLocalMachine, {u"SOFTWARE\\T", {GetParam().value}, {}}}});
    EXPECT_EQ("Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\r\n" +
                  GetParam().line + "\r\n"
                  "\r\n",
              TextOf(file));
    EXPECT_TRUE(file.holdsEverything);
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, ValueLines,
    ::testing::Values(
        ValueLineCase{"String", Value("v", kRegSz, Text("C:\\Temp")), R"("v"="C:\\Temp")"},
        ValueLineCase{"EmptyString", Value("v", kRegSz, Text("")), R"("v"="")"},
        ValueLineCase{"QuotesAndBackslashes", Value("a\"b\\c", kRegSz, Text("say \"hi\" C:\\")),
                      R"("a\"b\\c"="say \"hi\" C:\\")"},
        ValueLineCase{"DefaultValue", Value("", kRegSz, Text("d")), R"(@="d")"},
        ValueLineCase{"NameOfAnAtSign", Value("@", kRegSz, Text("d")), R"("@"="d")"},
        ValueLineCase{"BracketAndEqualsInTheName", Value("a]=b [c]", kRegSz, Text("x")), R"("a]=b [c]"="x")"},
        ValueLineCase{"Cyrillic", Value("Имя", kRegSz, Text("Привет, мир")), R"("Имя"="Привет, мир")"},
        ValueLineCase{"Cjk", Value("名前", kRegSz, Text("日本語")), R"("名前"="日本語")"},
        ValueLineCase{"EmojiAsASurrogatePair", Value("😀", kRegSz, Text("a😀b")), R"("😀"="a😀b")"},
        ValueLineCase{"TabStaysInTheString", Value("v", kRegSz, Text("a\tb")), "\"v\"=\"a\tb\""},
        ValueLineCase{"EmptySzWithoutItsNul", Value("v", kRegSz, {}), R"("v"=hex(1):)"},
        ValueLineCase{"SzWithoutItsNul", Value("v", kRegSz, Raw("a\0"s)), R"("v"=hex(1):61,00)"},
        ValueLineCase{"SzWithTwoNuls", Value("v", kRegSz, Raw("a\0\0\0\0\0"s)), R"("v"=hex(1):61,00,00,00,00,00)"},
        ValueLineCase{"SzWithAnInnerNul", Value("v", kRegSz, Raw("a\0\0\0b\0\0\0"s)),
                      R"("v"=hex(1):61,00,00,00,62,00,00,00)"},
        ValueLineCase{"SzWithALineFeed", Value("v", kRegSz, Text("a\nb")), R"("v"=hex(1):61,00,0a,00,62,00,00,00)"},
        ValueLineCase{"SzWithACarriageReturn", Value("v", kRegSz, Text("a\r")), R"("v"=hex(1):61,00,0d,00,00,00)"},
        ValueLineCase{"SzOfAnOddByteCount", Value("v", kRegSz, Raw("a\0\0"s)), R"("v"=hex(1):61,00,00)"},
        ValueLineCase{"Dword", Value("v", kRegDword, Raw("\x2A\0\0\0"s)), R"("v"=dword:0000002a)"},
        ValueLineCase{"DwordOfAllBits", Value("v", kRegDword, Raw("\xFF\xFF\xFF\xFF")), R"("v"=dword:ffffffff)"},
        ValueLineCase{"DwordLowByteFirst", Value("v", kRegDword, Raw("\x01\x02\x03\xA4")), R"("v"=dword:a4030201)"},
        ValueLineCase{"TwoByteDword", Value("v", kRegDword, Raw("\x2A\x01")), R"("v"=hex(4):2a,01)"},
        ValueLineCase{"EmptyDword", Value("v", kRegDword, {}), R"("v"=hex(4):)"},
        ValueLineCase{"EightByteDword", Value("v", kRegDword, Counting(8)), R"("v"=hex(4):00,01,02,03,04,05,06,07)"},
        ValueLineCase{"Binary", Value("v", kRegBinary, Raw("\x0A\xFF\x00"s)), R"("v"=hex:0a,ff,00)"},
        ValueLineCase{"EmptyBinary", Value("v", kRegBinary, {}), R"("v"=hex:)"},
        ValueLineCase{"ExpandSz", Value("v", kRegExpandSz, Text("%T%")), R"("v"=hex(2):25,00,54,00,25,00,00,00)"},
        ValueLineCase{"ExpandSzBeyondTheCodePage", Value("v", kRegExpandSz, Text("☃")), R"("v"=hex(2):03,26,00,00)"},
        ValueLineCase{"MultiSz", Value("v", kRegMultiSz, Text("a\0b\0"s)),
                      R"("v"=hex(7):61,00,00,00,62,00,00,00,00,00)"},
        ValueLineCase{"Qword", Value("v", kRegQword, Raw("\x01\x02\x03\x04\x05\x06\x07\xAB")),
                      R"("v"=hex(b):01,02,03,04,05,06,07,ab)"},
        ValueLineCase{"None", Value("v", kRegNone, Raw("\x07")), R"("v"=hex(0):07)"},
        ValueLineCase{"EmptyNone", Value("v", kRegNone, {}), R"("v"=hex(0):)"},
        ValueLineCase{"ResourceList", Value("v", 8, Raw("\xC0")), R"("v"=hex(8):c0)"},
        ValueLineCase{"TypeOfSeveralDigits", Value("v", 0x2000A, Raw("\x01")), R"("v"=hex(2000a):01)"},
        ValueLineCase{"BinaryThatJustFitsItsLine", Value("v", kRegBinary, Counting(23)),
                      R"("v"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16)"},
        ValueLineCase{"BinaryOneByteLonger", Value("v", kRegBinary, Counting(24)),
                      "\"v\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
                      "  17"},
        ValueLineCase{"ContinuationLinesHold25Bytes", Value("v", kRegBinary, Counting(80)),
                      "\"v\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
                      "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\r\n"
                      "  30,31,32,33,34,35,36,37,38,39,3a,3b,3c,3d,3e,3f,40,41,42,43,44,45,46,47,48,\\\r\n"
                      "  49,4a,4b,4c,4d,4e,4f"},
        ValueLineCase{"EscapedNameCountsAsWritten", Value("\"x\"", kRegBinary, Counting(25)),
                      "\"\\\"x\\\"\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
                      "  16,17,18"},
        ValueLineCase{"ExpandSzWraps", Value("Path", kRegExpandSz, Text("%SystemRoot%\\system32;%SystemRoot%")),
                      "\"Path\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
                      "  00,25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,3b,00,25,00,\\\r\n"
                      "  53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,00,00"},
        ValueLineCase{"LongNameBreaksAfterTheFirstByte", Value(std::string(80, 'n'), kRegBinary, Raw("\x01\x02\x03")),
                      "\"" + std::string(80, 'n') + "\"=hex:01,\\\r\n"
                      "  02,03"}),
    [](const ::testing::TestParamInfo<ValueLineCase>& info) { return info.param.what; });

struct FileCase {
    const char* what;
    std::vector<WideTree> trees;
    std::string text;  // after the byte-order mark
    bool holdsEverything;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.what; }

class FileLayout : public ::testing::TestWithParam<FileCase> {};

TEST_P(FileLayout, HeaderThenEachKeyBeforeItsSubkeys) {
    const Version5File file = Version5FileOf(GetParam().trees);
    EXPECT_EQ(GetParam().text, TextOf(file));
    EXPECT_EQ(GetParam().holdsEverything, file.holdsEverything);
}

const WideValue kOne = Value("n", kRegDword, Raw("\x01\0\0\0"s));

INSTANTIATE_TEST_SUITE_P(
    Trees, FileLayout,
    ::testing::Values(
        FileCase{"NoTreesGiveTheHeaderAlone", {}, "Windows Registry Editor Version 5.00\r\n\r\n", true},
        FileCase{"SubkeysDepthFirstAfterTheirParent",
                 {{kLocalMachine,
                   Key("SYSTEM\\T", {kOne}, {Key("A", {kOne}, {Key("A1", {})}), Key("B", {Value("", kRegSz, Text("b"))})})}},
                 "Windows Registry Editor Version 5.00\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n"
                 "\"n\"=dword:00000001\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\A]\r\n"
                 "\"n\"=dword:00000001\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\A\\A1]\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\B]\r\n"
                 "@=\"b\"\r\n"
                 "\r\n",
                 true},
        FileCase{"KeyNamesAsStored",
                 {{kLocalMachine, Key("SYSTEM\\T", {}, {Key("with spaces", {}), Key("a]b", {}), Key("Сеть 日本 😀", {})})}},
                 "Windows Registry Editor Version 5.00\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\with spaces]\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\a]b]\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\Сеть 日本 😀]\r\n"
                 "\r\n",
                 true},
        FileCase{"TreesInTheirOrderEachUnderItsRoot",
                 {{kLocalMachine, Key("SOFTWARE\\A", {kOne})}, {kCurrentUser, Key("Software\\B", {kOne})}},
                 "Windows Registry Editor Version 5.00\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n"
                 "\"n\"=dword:00000001\r\n"
                 "\r\n"
                 "[HKEY_CURRENT_USER\\Software\\B]\r\n"
                 "\"n\"=dword:00000001\r\n"
                 "\r\n",
                 true},
        FileCase{"ValueNamesThatBreakALineAreLeftOut",
                 {{kLocalMachine,
                   Key("SYSTEM\\T", {Value("a\r\nb", kRegSz, Text("x")), kOne, Value("c\nd", kRegSz, Text("x")),
                                     Value("nul\0inside"s, kRegSz, Text("x"))})}},
                 "Windows Registry Editor Version 5.00\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n"
                 "\"n\"=dword:00000001\r\n"
                 "\r\n",
                 false},
        FileCase{"KeyNameThatBreaksALineIsLeftOutWithItsSubtree",
                 {{kLocalMachine, Key("SYSTEM\\T", {}, {Key("a\rb", {kOne}, {Key("Child", {kOne})}), Key("C", {})})}},
                 "Windows Registry Editor Version 5.00\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T]\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\SYSTEM\\T\\C]\r\n"
                 "\r\n",
                 false}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

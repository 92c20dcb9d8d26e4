#include "export_fixture.h"

#include <optional>

using namespace std::string_literals;

namespace tarvex {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (int byte : bytes) text += static_cast<char>(byte);
    return text;
}

class WorkedExample : public ExportFixture {
protected:
    WorkedExample() : ExportFixture(ValueOrder::AsSet) {}
};

TEST_F(WorkedExample, WritesTheSampleTreeByteForByte) {
    Value("SYSTEM\\Sample", "", kRegSz, "x\0"s);
    Value("SYSTEM\\Sample", "Path", kRegSz, "C:\\Temp\0"s);
    Value("SYSTEM\\Sample", "Count", kRegDword, Bytes({42, 0, 0, 0}));
    Value("SYSTEM\\Sample", "Data", kRegBinary, Bytes({0x0A, 0xFF, 0x00}));
    Value("SYSTEM\\Sample\\Child", "Flag", kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF}));

    Export("SYSTEM\\Sample");

    EXPECT_EQ("REGEDIT4\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Sample]\r\n"
              "@=\"x\"\r\n"
              "\"Path\"=\"C:\\\\Temp\"\r\n"
              "\"Count\"=dword:0000002a\r\n"
              "\"Data\"=hex:0A,FF,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Sample\\Child]\r\n"
              "\"Flag\"=dword:ffffffff\r\n"
              "\r\n",
              File());
    EXPECT_FALSE(BackupError);
    EXPECT_EQ(kDefaultPointer, pointer_.current);
    EXPECT_EQ((std::vector<int>{kHourglassPointer, kDefaultPointer}), pointer_.history);
}

struct ValueForm {
    const char* what;
    std::string name;
    std::uint32_t type;
    std::string bytes;
    std::string line;
};

class ValueForms : public ExportFixture, public ::testing::WithParamInterface<ValueForm> {};

// Each form must import back as the same type and bytes.
TEST_P(ValueForms, WriteTheLineThatRestoresTypeAndBytes) {
    const ValueForm& form = GetParam();
    Value("SYSTEM\\V", form.name, form.type, form.bytes);
    Export("SYSTEM\\V", false);
    EXPECT_EQ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\V]\r\n" + form.line + "\r\n\r\n", File());
    EXPECT_FALSE(BackupError);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, ValueForms,
    ::testing::Values(
        ValueForm{"SzWithNul", "v", kRegSz, "abc\0"s, R"("v"="abc")"},
        ValueForm{"SzWithoutNulKeepsItsLastByte", "v", kRegSz, "abc", R"("v"="abc")"},
        ValueForm{"EmptySz", "v", kRegSz, "", R"("v"="")"},
        ValueForm{"QuotesAndBackslashes", "a\"b\\c", kRegSz, "say \"hi\" C:\\\0"s,
                  R"("a\"b\\c"="say \"hi\" C:\\")"},
        ValueForm{"DefaultValue", "", kRegSz, "d\0"s, R"(@="d")"},
        ValueForm{"SzWithLineBreaks", "v", kRegSz, "a\r\nb\0"s, "\"v\"=hex(1):61,0D,0A,62,00"},
        ValueForm{"SzWithInnerNul", "v", kRegSz, "a\0b\0"s, "\"v\"=hex(1):61,00,62,00"},
        ValueForm{"ExpandSz", "v", kRegExpandSz, "%TEMP%\0"s, "\"v\"=hex(2):25,54,45,4D,50,25,00"},
        ValueForm{"EmptyExpandSz", "v", kRegExpandSz, "", "\"v\"=hex(2):"},
        ValueForm{"MultiSz", "v", kRegMultiSz, "a\0b\0\0"s, "\"v\"=hex(7):61,00,62,00,00"},
        ValueForm{"DwordTen", "v", kRegDword, Bytes({10, 0, 0, 0}), "\"v\"=dword:0000000a"},
        ValueForm{"DwordMinusOne", "v", kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "\"v\"=dword:ffffffff"},
        ValueForm{"TwoByteDword", "v", kRegDword, Bytes({0x2A, 0x01}), "\"v\"=hex(4):2A,01"},
        ValueForm{"EmptyDword", "v", kRegDword, "", "\"v\"=hex(4):"},
        ValueForm{"Binary", "v", kRegBinary, Bytes({0x0A, 0xFF, 0x00}), "\"v\"=hex:0A,FF,00"},
        ValueForm{"OneByteBinary", "v", kRegBinary, Bytes({5}), "\"v\"=hex:05"},
        ValueForm{"EmptyBinary", "v", kRegBinary, "", "\"v\"=hex:"},
        ValueForm{"Qword", "v", kRegQword, Bytes({1, 2, 3, 4, 5, 6, 7, 0xAB}), "\"v\"=hex(b):01,02,03,04,05,06,07,AB"},
        ValueForm{"None", "v", kRegNone, Bytes({7}), "\"v\"=hex(0):07"},
        ValueForm{"ResourceList", "v", 8, Bytes({0xC0}), "\"v\"=hex(8):C0"}),
    [](const ::testing::TestParamInfo<ValueForm>& info) { return info.param.what; });

TEST_F(ExportFixture, LongBinaryStaysOnOneLine) {
    Value("SYSTEM\\V", "big", kRegBinary, std::string(5000, '\x5A'));
    Export("SYSTEM\\V", false);
    std::string list;
    for (int i = 0; i < 5000; ++i) list += i ? ",5A" : "5A";
    EXPECT_EQ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\V]\r\n\"big\"=hex:" + list + "\r\n\r\n", File());
}

constexpr char kBlock[] = "[HKEY_LOCAL_MACHINE\\SYSTEM\\K]\r\n\"n\"=dword:00000001\r\n\r\n";

struct HeaderCase {
    const char* what;
    std::optional<std::string> before;
    bool append;
    std::string after;
};

class HeaderRule : public ExportFixture, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderRule, HeaderOnlyWhenTheFileLacksIt) {
    const HeaderCase& c = GetParam();
    Value("SYSTEM\\K", "n", kRegDword, Bytes({1, 0, 0, 0}));
    if (c.before) files_.SetContent(kFile, *c.before);
    Export("SYSTEM\\K", true, c.append);
    EXPECT_EQ(c.after, File());
}

INSTANTIATE_TEST_SUITE_P(
    AppendAndReplace, HeaderRule,
    ::testing::Values(
        HeaderCase{"ReplaceDropsEarlierContent", "old stuff\r\n", false, std::string("REGEDIT4\r\n\r\n") + kBlock},
        HeaderCase{"AppendToMissingFileStartsWithHeader", std::nullopt, true,
                   std::string("REGEDIT4\r\n\r\n") + kBlock},
        HeaderCase{"AppendAfterHeaderAddsOnlyTheBlock", "xREGEDIT4y\r\n", true,
                   std::string("xREGEDIT4y\r\n") + kBlock},
        HeaderCase{"LowerCaseMarkGetsTheHeaderInTheMiddle", "regedit4\r\n", true,
                   std::string("regedit4\r\nREGEDIT4\r\n\r\n") + kBlock}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return info.param.what; });

TEST_F(ExportFixture, TreeIsWrittenDepthFirstWithOneHeaderReadingTheFileOnce) {
    for (const char* path : {"SYSTEM\\A\\C", "SYSTEM\\A\\B\\D"}) Key(path);
    files_.SetContent(kFile, "REGEDIT4\r\n\r\n");
    Export("SYSTEM\\A", true, true);
    EXPECT_EQ("REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\A]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\A\\B]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\A\\B\\D]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\A\\C]\r\n\r\n",
              File());
    // Reading the growing file again for every key made big trees quadratic.
    EXPECT_EQ(1, files_.ReadCount());
    EXPECT_EQ(1, files_.OpenCount());
}

// SmallBackup.reg only grows; the header decision must not read all of it for every key deleted.
TEST_F(ExportFixture, HeaderDecisionReadsOnlyUpToTheFirstMark) {
    Value("SYSTEM\\K", "n", kRegDword, Bytes({1, 0, 0, 0}));
    const std::string earlier = "REGEDIT4\r\n\r\n" + std::string(10 << 20, ';');
    files_.SetContent(kFile, earlier);
    Export("SYSTEM\\K", true, true);
    EXPECT_EQ(earlier + kBlock, File());
    EXPECT_LE(files_.BytesRead(), 64u * 1024);
}

struct ContainsCase {
    const char* what;
    std::optional<std::string> content;
    bool found;
};

class FileContainsMark : public ExportFixture, public ::testing::WithParamInterface<ContainsCase> {};

TEST_P(FileContainsMark, FindsItWhereverItLies) {
    if (GetParam().content) files_.SetContent(kFile, *GetParam().content);
    std::unique_ptr<OutputFile> file = files_.Open(kFile, true);
    ASSERT_TRUE(file);
    EXPECT_EQ(GetParam().found, FileContains(*file, "REGEDIT4"));
}

const std::string kChunkEdge(4 * 1024 - 3, 'x');

INSTANTIATE_TEST_SUITE_P(
    Places, FileContainsMark,
    ::testing::Values(ContainsCase{"Missing", std::nullopt, false}, ContainsCase{"Empty", "", false},
                      ContainsCase{"AtTheStart", "REGEDIT4\r\n", true},
                      ContainsCase{"SplitBetweenTwoReads", kChunkEdge + "REGEDIT4", true},
                      ContainsCase{"AtTheEndOfABigFile", std::string(300 * 1024, 'y') + "REGEDIT4", true},
                      ContainsCase{"BrokenAcrossReads", kChunkEdge + "REGEDIxT4", false},
                      ContainsCase{"LowerCase", "regedit4", false}),
    [](const ::testing::TestParamInfo<ContainsCase>& info) { return info.param.what; });

TEST_F(ExportFixture, WithoutRecurseOnlyTheKeyItself) {
    Key("SYSTEM\\A\\B");
    Export("SYSTEM\\A", false);
    EXPECT_EQ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\A]\r\n\r\n", File());
}

TEST_F(ExportFixture, RootsOutsideThePrefixTableWriteThePathAlone) {
    ASSERT_EQ(kSuccess, registry_.CreateKey(kDynData, "Dyn\\Key"));
    ExportKey(platform_, kDynData, "Dyn\\Key", kFile, false, false);
    EXPECT_EQ("REGEDIT4\r\n\r\n[Dyn\\Key]\r\n\r\n", File());
}

TEST_F(ExportFixture, MissingKeyWritesNoBlockAndIsNoError) {
    Key("SYSTEM\\Present");
    files_.SetContent(kFile, "REGEDIT4\r\n\r\n[earlier]\r\n\r\n");
    Export("SYSTEM\\ControlSet003", true, true);
    EXPECT_EQ("REGEDIT4\r\n\r\n[earlier]\r\n\r\n", File());

    // A replaced file is still replaced: the next appends must not follow old content.
    Export("SYSTEM\\ControlSet003", true, false);
    EXPECT_EQ("REGEDIT4\r\n\r\n", File());

    Export("SYSTEM\\ControlSet003", true, true, "C:\\Tarvex\\Never.reg");
    EXPECT_FALSE(files_.Content("C:\\Tarvex\\Never.reg"));
    EXPECT_FALSE(BackupError);
    EXPECT_EQ(kDefaultPointer, pointer_.current);
}

TEST_F(ExportFixture, LineBreaksAndNulsInNamesCannotBeWrittenAndAreReported) {
    for (const auto& [key, name] : std::vector<std::pair<std::string, std::string>>{
             {"SYSTEM\\V", "two\nlines"}, {"SYSTEM\\Key\rWith break", "v"}, {"SYSTEM\\N", "cut\0short"s}}) {
        BackupError = false;
        Value(key, name, kRegDword, "\1\0\0\0"s);
        Export(key);
        EXPECT_TRUE(BackupError) << name;
    }
}

TEST_F(ExportFixture, BackupErrorIsNeverClearedByTheExport) {
    Key("SYSTEM\\K");
    BackupError = true;
    Export("SYSTEM\\K");
    EXPECT_TRUE(BackupError);
}

}  // namespace
}  // namespace tarvex

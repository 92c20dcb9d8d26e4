#include "core/deletion_lines.h"
#include "core/summary_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

std::vector<Utf8Text> Names(std::size_t count, std::size_t length) {
    std::vector<Utf8Text> names;
    for (std::size_t i = 0; i < count; ++i) names.push_back(std::string(length - 1, 'n') + static_cast<char>('a' + i % 26));
    return names;
}

struct LineCase {
    const char* what;
    std::vector<Utf8Text> fixed;
    std::vector<Utf8Text> names;
    std::string expected;  // the whole line, or its end when it is long
};

class SummaryLines : public ::testing::TestWithParam<LineCase> {};

// What does not fit is counted, never cut in the middle, and the line ends
// within the 2,048 characters Intune keeps.
TEST_P(SummaryLines, FitWhatTheyCanAndCountTheRest) {
    SummaryLine line;
    for (const Utf8Text& part : GetParam().fixed) line.Add(part);
    line.AddList("deleted", GetParam().names);
    const std::string text = line.Text();
    EXPECT_LE(text.size(), kLongestSummaryLine);
    ASSERT_GE(text.size(), GetParam().expected.size());
    EXPECT_EQ(GetParam().expected, text.substr(text.size() - GetParam().expected.size())) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SummaryLines,
    ::testing::Values(LineCase{"Short", {"2 deleted, 0 failed"}, {"Caf\xC3\xA9", "Tab\there"},
                               "2 deleted, 0 failed; deleted: Caf\\u00e9, Tab here\r\n"},
                      LineCase{"EmptyListsAreLeftOut", {"0 to delete"}, {}, "0 to delete\r\n"},
                      LineCase{"ManyNames", {"300 deleted, 0 failed"}, Names(300, 20), ", nnnnnnnnnnnnnnnnnnnm and 209 more\r\n"},
                      LineCase{"NoRoomForAnyName", {std::string(2020, 'x')}, Names(5, 20), "; deleted: 5 not shown\r\n"},
                      LineCase{"OnePartLongerThanTheLine", {std::string(3000, 'x')}, {}, "xxx...\r\n"},
                      LineCase{"PlainPartOnOneAsciiLine", {"handed over\tGHOST\r\nto 'Caf\xC3\xA9'\n"}, {},
                               "handed over GHOST  to 'Caf\\u00e9' \r\n"},
                      // 21 + 2 + 9 + 96 * 19 + 95 * 2 + 2 = 2,048: the last name fits exactly.
                      LineCase{"LastNameFitsExactly", {std::string(21, 'x')}, Names(96, 19),
                               ", nnnnnnnnnnnnnnnnnnr\r\n"}),
    [](const auto& info) { return info.param.what; });

// One report: the deletion's lines keep no "tarvex: " of their own in it.
TEST(SummaryOfADeletion, HoldsItsLinesWithoutTheProgramsName) {
    DeletionLines lines;
    lines.counts = "1 deleted, 1 failed";
    lines.details = {"tarvex: could not delete KEY"};
    lines.after = {"tarvex: nothing to hand over: no selected entry"};
    lines.restore = "tarvex: to undo this run, in PowerShell: reg import 'FILE'";
    SummaryLine summary;
    AddToSummary(summary, lines);
    EXPECT_EQ("1 deleted, 1 failed; to undo this run, in PowerShell: reg import 'FILE'; nothing to hand over: no "
              "selected entry; could not delete KEY\r\n",
              summary.Text());
}

}  // namespace
}  // namespace tarvex

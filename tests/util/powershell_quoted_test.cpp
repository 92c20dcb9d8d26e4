#include "util/powershell_quoted.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct QuotedCase {
    const char* what;
    const char* text;
    const char* quoted;
};

class PowerShellQuotes : public ::testing::TestWithParam<QuotedCase> {};

// A pasted line must parse as one string, whatever the name holds.
TEST_P(PowerShellQuotes, DoubleEveryCharacterThatWouldEndTheString) {
    EXPECT_EQ(GetParam().quoted, PowerShellQuoted(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PowerShellQuotes,
    ::testing::Values(QuotedCase{"Plain", "Ethernet 2", "'Ethernet 2'"},
                      QuotedCase{"Apostrophe", "Bob's LAN", "'Bob''s LAN'"},
                      QuotedCase{"RightSingleQuote", "Bob\u2019s LAN", "'Bob\u2019\u2019s LAN'"},
                      QuotedCase{"EveryCurlyOne", "\u2018\u201A\u201B", "'\u2018\u2018\u201A\u201A\u201B\u201B'"},
                      QuotedCase{"NeighboursAreNoQuotes", "\u2017\u201C\u2014", "'\u2017\u201C\u2014'"},
                      QuotedCase{"CraftedToRunACommand", "x\u2019; Remove-Item C:\\ -Recurse; \u2019",
                                 "'x\u2019\u2019; Remove-Item C:\\ -Recurse; \u2019\u2019'"},
                      QuotedCase{"NothingExpands", "$env:TEMP `n", "'$env:TEMP `n'"},
                      QuotedCase{"CutShortAtTheEnd", "a\xE2\x80", "'a\xE2\x80'"}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

#include "console/row_filter.h"
#include "support/ascii_case_mapping.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct WildcardCase {
    std::string pattern;
    std::string text;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcards, MatchCharacterForCharacter) {
    EXPECT_EQ(GetParam().matches, MatchesWildcard(GetParam().pattern, GetParam().text))
        << GetParam().pattern << " ~ " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcards,
    ::testing::Values(WildcardCase{"Local Area Connection*", "Local Area Connection 2", true},
                      WildcardCase{"local area connection*", "LOCAL AREA CONNECTION", false},
                      WildcardCase{"Local Area Connection*", "Ethernet", false},
                      WildcardCase{"*", "", true}, WildcardCase{"", "", true}, WildcardCase{"", "x", false},
                      WildcardCase{"?", "", false}, WildcardCase{"Wi-Fi ?", "Wi-Fi 2", true},
                      WildcardCase{"Wi-Fi ?", "Wi-Fi 12", false},
                      WildcardCase{"*Office", "VPN - Office", true}, WildcardCase{"*a*b*c", "xaybzc", true},
                      WildcardCase{"*a*b*c", "xaybzcd", false}, WildcardCase{"a**", "abc", true},
                      WildcardCase{"Caf?", "Caf\xC3\xA9", true}, WildcardCase{"CAF\xC3\x89", "CAF\xC3\x89", true},
                      WildcardCase{"*x", std::string(200, 'a'), false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

ConnectionRow Row(const std::string& key, const std::string& name, AdapterState adapter) {
    ConnectionRow row{key};
    row.adapter = adapter;
    row.texts.connection = name;
    return row;
}

std::vector<ConnectionRow> Rows() {
    return {Row("k1", "Ethernet", AdapterState::Present), Row("k2", "Local Area Connection 2", AdapterState::NoDevice),
            Row("k3", "Local Area Connection 3", AdapterState::NotPresent),
            Row("k4", "Local Area Connection 4", AdapterState::Present), Row("k5", "Old VPN", AdapterState::NoDevice),
            Row("k6", "No ID", AdapterState::Unknown)};
}

std::vector<std::string> Keys(const std::vector<ConnectionRow>& rows) {
    std::vector<std::string> keys;
    for (const ConnectionRow& row : rows) keys.push_back(row.key);
    return keys;
}

// Names match without regard to case as the platform's mapping folds them.
TEST(RowFilter, StaleNameAndBothTogether) {
    const AsciiCaseMapping cases;
    const FileTime now = 1'000'000 * kTicksPerDay;
    const RowFilter stale{.staleOnly = true, .notSeenForDays = 0};
    const RowFilter named{.namePattern = "local area*"};
    const RowFilter both{.staleOnly = true, .notSeenForDays = 0, .namePattern = "local area*"};
    EXPECT_EQ(6u, FilterRows(Rows(), {}, cases, now).size());
    EXPECT_EQ((std::vector<std::string>{"k2", "k3", "k5"}), Keys(FilterRows(Rows(), stale, cases, now)));
    EXPECT_EQ((std::vector<std::string>{"k2", "k3", "k4"}), Keys(FilterRows(Rows(), named, cases, now)));
    EXPECT_EQ((std::vector<std::string>{"k2", "k3"}), Keys(FilterRows(Rows(), both, cases, now)));
    // The undated k3 is kept back at the default age, and counted.
    EXPECT_EQ((std::vector<std::string>{"k2", "k5"}), Keys(FilterRows(Rows(), {.staleOnly = true}, cases, now)));
    EXPECT_EQ(1u, CountKeptAsRecent(Rows(), {.staleOnly = true}, cases, now));
    EXPECT_EQ(0u, CountKeptAsRecent(Rows(), {.staleOnly = true, .namePattern = "Old*"}, cases, now));
}

}  // namespace
}  // namespace tarvex

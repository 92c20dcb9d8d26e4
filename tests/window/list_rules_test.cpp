#include "support/fake_connection_list.h"
#include "support/fake_platform.h"
#include "window/list_rules.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

FakeConnectionList ListOf(const std::vector<std::pair<std::string, std::string>>& rows) {
    FakeConnectionList list;
    for (const auto& [text, name] : rows) list.AppendRow(text, name);
    return list;
}

struct SortCase {
    const char* title;
    SortDirection start;
    std::vector<int> clicks;
    SortDirection end;
    std::vector<std::string> order;
};

class SortRule : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortRule, FlipsOneDirectionOnEveryHeaderClick) {
    const SortCase& c = GetParam();
    FakeConnectionList list = ListOf({{"b", "Zeta"}, {"C", "alpha"}, {"a", "Mid"}});
    list.direction = c.start;
    CountingPump pump;
    for (int column : c.clicks) SortByColumn(list, pump, column);

    EXPECT_TRUE(list.sorted);
    EXPECT_EQ(c.end, list.direction);
    EXPECT_EQ(c.clicks.back() - 1, list.sortColumn);
    EXPECT_EQ(c.order, list.Texts());
    EXPECT_EQ(static_cast<int>(c.clicks.size()), pump.passes);
    EXPECT_EQ(static_cast<int>(c.clicks.size()), list.redraws);
}

using enum SortDirection;
INSTANTIATE_TEST_SUITE_P(
    Clicks, SortRule,
    ::testing::Values(SortCase{"KeyOnceFromAscending", Ascending, {1}, Descending, {"C", "b", "a"}},
                      SortCase{"KeyOnceFromDescending", Descending, {1}, Ascending, {"a", "b", "C"}},
                      SortCase{"KeyTwice", Ascending, {1, 1}, Ascending, {"a", "b", "C"}},
                      SortCase{"KeyThenConnectionFlipsAgain", Ascending, {1, 2}, Ascending, {"C", "a", "b"}},
                      SortCase{"ConnectionOnce", Ascending, {2}, Descending, {"b", "a", "C"}},
                      SortCase{"ThreeClicks", Ascending, {2, 1, 2}, Descending, {"b", "a", "C"}}),
    [](const auto& info) { return std::string(info.param.title); });

// By the date, not by its text; the rows Last seen leaves empty come last
// both ways. The list starts ascending, so the first click in a new window
// sorts newest first, as the README says.
TEST(SortRule, LastSeenSortsNewestFirstOnTheFirstClickThenOldestWithUndatedLast) {
    FakeConnectionList list;
    const auto add = [&](const std::string& key, AdapterState adapter, std::optional<FileTime> removal) {
        ConnectionRow row{key};
        row.adapter = adapter;
        row.lastRemoval = removal;
        list.AppendRow(row);
    };
    add("present", AdapterState::Present, 50);
    add("2019", AdapterState::NotPresent, 900);
    add("undated", AdapterState::NotPresent, std::nullopt);
    add("2025", AdapterState::NotPresent, 10'000);
    add("2001", AdapterState::NotPresent, 80);
    CountingPump pump;
    SortByColumn(list, pump, kLastSeenColumn + 1);
    EXPECT_EQ((std::vector<std::string>{"2025", "2019", "2001", "present", "undated"}), list.Texts());
    SortByColumn(list, pump, kLastSeenColumn + 1);
    EXPECT_EQ((std::vector<std::string>{"2001", "2019", "2025", "present", "undated"}), list.Texts());
}

TEST(SortRuleOnEmptyList, ChangesOnlyTheSettings) {
    FakeConnectionList list;
    CountingPump pump;
    SortByColumn(list, pump, 2);
    EXPECT_EQ(0, list.RowCount());
    EXPECT_TRUE(list.sorted);
    EXPECT_EQ(1, list.sortColumn);
    EXPECT_EQ(Descending, list.direction);
}

struct ToggleCase {
    const char* title;
    int button;
    std::vector<bool> checked;
    std::vector<bool> selected;
    std::vector<bool> expected;
};

class RightButtonToggle : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(RightButtonToggle, FirstSelectedRowDecides) {
    const ToggleCase& c = GetParam();
    FakeConnectionList list;
    for (std::size_t i = 0; i < c.checked.size(); ++i) {
        list.rows.push_back({"row" + std::to_string(i), "", c.checked[i], c.selected[i]});
    }
    ToggleSelectedMarks(list, c.button);
    std::vector<bool> marks;
    for (const auto& row : list.rows) marks.push_back(row.checked);
    EXPECT_EQ(c.expected, marks);
    for (std::size_t i = 0; i < c.selected.size(); ++i) EXPECT_EQ(c.selected[i], list.rows[i].selected);
    EXPECT_EQ(0, list.marksSetWhileDrawing) << "drawn once, when every mark is set";
    EXPECT_EQ(0, list.suspendDepth);
}

INSTANTIATE_TEST_SUITE_P(
    Marks, RightButtonToggle,
    ::testing::Values(
        ToggleCase{"TickedUntickedTickedAllEndUnticked", 2, {true, false, true}, {true, true, true}, {false, false, false}},
        ToggleCase{"UntickedTickedTickedAllEndTicked", 2, {false, true, true}, {true, true, true}, {true, true, true}},
        ToggleCase{"UnselectedRowsKeepTheirMarks", 2, {true, false, true, false}, {false, true, false, true},
                   {true, true, true, true}},
        ToggleCase{"SingleSelectedRowFlips", 2, {false, true}, {false, true}, {false, false}},
        ToggleCase{"NothingSelectedChangesNothing", 2, {true, false}, {false, false}, {true, false}},
        ToggleCase{"LeftButtonChangesNothing", 1, {false, true}, {true, true}, {false, true}},
        ToggleCase{"MiddleButtonChangesNothing", 4, {false, true}, {true, true}, {false, true}},
        ToggleCase{"EmptyList", 2, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(RightButtonToggleAfterSort, UsesTheSortedOrder) {
    FakeConnectionList list;
    list.rows = {{"b", "", false, true}, {"a", "", true, true}};
    CountingPump pump;
    SortByColumn(list, pump, 1);  // descending: b, a
    SortByColumn(list, pump, 1);  // ascending: a (ticked) first
    ToggleSelectedMarks(list, kRightButton);
    EXPECT_FALSE(list.rows[0].checked);
    EXPECT_FALSE(list.rows[1].checked);
}

// A window whose list refuses negative sizes, as the list control does.
class FakeLayout final : public FormLayout {
public:
    bool IsMinimised() const override { return minimised; }
    float ClientWidth() const override { return clientWidth; }
    float ClientHeight() const override { return clientHeight; }
    float ListLeft() const override { return 120; }
    float ListTop() const override { return 1200; }
    bool SetListWidth(float twips) override { return Set(listWidth, twips); }
    bool SetListHeight(float twips) override { return Set(listHeight, twips); }

    bool minimised = false;
    float clientWidth = 0, clientHeight = 0;
    float listWidth = 8175, listHeight = 5655;

private:
    static bool Set(float& size, float twips) {
        if (twips < 0) return false;
        size = twips;
        return true;
    }
};

struct FitCase {
    const char* title;
    bool minimised;
    float clientWidth, clientHeight;
    float listWidth, listHeight;
};

class FitListRule : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitListRule, KeepsMarginsAndIgnoresRefusedSizes) {
    const FitCase& c = GetParam();
    FakeLayout layout;
    layout.minimised = c.minimised;
    layout.clientWidth = c.clientWidth;
    layout.clientHeight = c.clientHeight;
    FitList(layout);
    EXPECT_FLOAT_EQ(c.listWidth, layout.listWidth);
    EXPECT_FLOAT_EQ(c.listHeight, layout.listHeight);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitListRule,
                         ::testing::Values(FitCase{"Opening", false, 8385, 6930, 8145, 5610},
                                           FitCase{"Maximised", false, 19200, 14400, 18960, 13080},
                                           FitCase{"Minimised", true, 0, 0, 8175, 5655},
                                           FitCase{"TooShort", false, 3000, 1200, 2760, 5655},
                                           FitCase{"TooNarrow", false, 225, 3000, 8175, 1680},
                                           FitCase{"Exactly", false, 240, 1320, 0, 0}),
                         [](const auto& info) { return std::string(info.param.title); });

}  // namespace
}  // namespace tarvex

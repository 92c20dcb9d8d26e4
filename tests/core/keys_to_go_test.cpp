#include "core/run_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvex {
namespace {

struct KeysCase {
    const char* what;
    DeletionPlan plan;
    std::vector<AnsiText> keys;
};

PlannedEntry Entry(const AnsiText& key, std::vector<AnsiText> settings, std::optional<std::size_t> device = {}) {
    PlannedEntry entry{key, std::move(settings)};
    entry.device = device;
    return entry;
}

PlannedEntry KeptWhole(const AnsiText& key, std::vector<AnsiText> settings) {
    PlannedEntry entry = Entry(key, std::move(settings), 0);
    entry.keptWhole = "its static IPv4 settings cannot be handed over";
    return entry;
}

class KeysToGoOfAPlan : public ::testing::TestWithParam<KeysCase> {};

// The run's own file holds each key the run may delete once, and none it keeps.
TEST_P(KeysToGoOfAPlan, EachOnceInTheOrderTheyGo) { EXPECT_EQ(GetParam().keys, KeysToGo(GetParam().plan)); }

INSTANTIATE_TEST_SUITE_P(
    Plans, KeysToGoOfAPlan,
    ::testing::Values(
        KeysCase{"SettingsThenWhatTheUninstallMayTake",
                 {{Entry("A", {"S1", "S2"}, 0), Entry("B", {}, 0)}, {{"USB\\1", "Dock", {"S2", "T1"}}}},
                 {"A", "S1", "S2", "T1", "B"}},
        KeysCase{"KeyOfTwoEntries", {{Entry("A", {"S1"}), Entry("B", {"S1"})}}, {"A", "S1", "B"}},
        KeysCase{"EntryKeptWholeAndItsDevice",
                 {{KeptWhole("A", {"S1"}), Entry("B", {"S2"})}, {{"USB\\1", "Dock", {"T1"}}}},
                 {"B", "S2"}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

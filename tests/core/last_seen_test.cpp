#include "core/last_seen.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvex {
namespace {

constexpr FileTime kNow = 134'411'871'090'000'000;  // 2026-12-08T07:05:09Z
constexpr FileTime kSecond = 10'000'000;
constexpr FileTime kThirtyDaysAgo = kNow - 30 * kTicksPerDay;

struct AgeCase {
    const char* what;
    AdapterState adapter;
    std::optional<FileTime> arrival;
    std::optional<FileTime> removal;
    std::optional<FileTime> lastSeen;
    bool staleAt30;
    bool staleAt0;
};

class DeviceAge : public ::testing::TestWithParam<AgeCase> {};

// A dock unplugged this morning is no stale entry; one gone for a month is.
TEST_P(DeviceAge, DecidesLastSeenAndStaleness) {
    ConnectionRow row{"k"};
    row.adapter = GetParam().adapter;
    row.lastArrival = GetParam().arrival;
    row.lastRemoval = GetParam().removal;
    EXPECT_EQ(GetParam().lastSeen, LastSeen(row, kNow));
    EXPECT_EQ(GetParam().staleAt30, IsStale(row, kNow, 30));
    EXPECT_EQ(GetParam().staleAt0, IsStale(row, kNow, 0));
    EXPECT_EQ(row.adapter == AdapterState::NotPresent && !GetParam().staleAt30, IsKeptAsRecent(row, kNow, 30));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceAge,
    ::testing::Values(
        AgeCase{"ExactlyThirtyDays", AdapterState::NotPresent, std::nullopt, kThirtyDaysAgo, kThirtyDaysAgo, true, true},
        AgeCase{"OneSecondLess", AdapterState::NotPresent, std::nullopt, kThirtyDaysAgo + kSecond,
                kThirtyDaysAgo + kSecond, false, true},
        AgeCase{"Unknown", AdapterState::NotPresent, std::nullopt, std::nullopt, std::nullopt, false, true},
        AgeCase{"ArrivalOnly", AdapterState::NotPresent, kThirtyDaysAgo - kSecond, std::nullopt,
                kThirtyDaysAgo - kSecond, true, true},
        AgeCase{"RemovalOnly", AdapterState::NotPresent, std::nullopt, kNow - kTicksPerDay, kNow - kTicksPerDay,
                false, true},
        AgeCase{"BothTheLaterWins", AdapterState::NotPresent, kThirtyDaysAgo - kTicksPerDay, kNow - kSecond,
                kNow - kSecond, false, true},
        // The clock was set back: no age yet, so kept unless every absent device is asked for.
        AgeCase{"SeenAfterNow", AdapterState::NotPresent, std::nullopt, kNow + kTicksPerDay, kNow + kTicksPerDay,
                false, true},
        AgeCase{"Present", AdapterState::Present, kThirtyDaysAgo - kTicksPerDay, kThirtyDaysAgo, kNow, false, false},
        AgeCase{"NoDevice", AdapterState::NoDevice, std::nullopt, std::nullopt, std::nullopt, true, true},
        AgeCase{"NoInstanceId", AdapterState::Unknown, std::nullopt, std::nullopt, std::nullopt, false, false}),
    [](const auto& info) { return info.param.what; });

TEST(DeviceAge, LongestAgeStillTellsAHundredYearOldRemoval) {
    ConnectionRow row{"k"};
    row.adapter = AdapterState::NotPresent;
    row.lastRemoval = kNow - kLongestNotSeenForDays * kTicksPerDay;
    EXPECT_TRUE(IsStale(row, kNow, kLongestNotSeenForDays));
    row.lastRemoval = *row.lastRemoval + kSecond;
    EXPECT_FALSE(IsStale(row, kNow, kLongestNotSeenForDays));
}

TEST(IsoUtcText, WritesUtcToTheSecond) {
    EXPECT_EQ("2026-12-08T07:05:09Z", IsoUtcText(kNow));
    EXPECT_EQ("2026-10-03T14:22:05Z", IsoUtcText(134'355'109'250'000'000));
    EXPECT_EQ("1601-01-01T00:00:00Z", IsoUtcText(0));
    EXPECT_EQ("2024-02-29T23:59:59Z", IsoUtcText(133'537'247'990'000'000));
}

}  // namespace
}  // namespace tarvex

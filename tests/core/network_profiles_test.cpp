#include "console/profile_output.h"
#include "core/network_profiles.h"
#include "support/fake_devices.h"
#include "support/fake_network_list.h"
#include "support/seed_profile.h"
#include "support/test_services.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tarvex {
namespace {

using namespace std::string_literals;

constexpr char kGuid[] = "{5D1A9C3E-0000-4000-8000-00000000A001}";
const std::string kKey = kProfiles + kGuid;
const std::string kMac = "\x00\x1A\x2B\x3C\x4D\x5E"s;

// The profile kGuid, "Network 2", last connected 2026-11-20 17:45:10, with
// one managed signature naming it; no network connected.
class ProfileRows : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_EQ(kSuccess, SeedProfile(registry, kGuid, "Network 2", {2026, 11, 20, 17, 45, 10}));
        ASSERT_EQ(kSuccess, SeedSignature(registry, "Managed", "0102", kGuid, kMac, "corp.example"));
        test.services.networks = &networks;
    }
    void Set(const std::string& key, const char* name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, key, name, type, bytes));
    }
    void SetProfile(const char* name, std::uint32_t type, const std::string& bytes) { Set(kKey, name, type, bytes); }
    // The row as list --profiles shows it, without its key.
    std::string Row() {
        const ProfileScan scan = ScanProfiles(test.services);
        EXPECT_EQ(1u, scan.profiles.size());
        const std::string table = ProfileTsv(scan.profiles, test.codec);
        const std::string row = table.substr(table.find("\r\n") + 2);
        return row.substr(0, row.rfind('\t'));
    }

    MemoryRegistry registry;
    FakeDevices devices;
    TestServices test{registry, devices};
    FakeNetworkList networks;
};

struct RowCase {
    const char* what;
    std::function<void(ProfileRows&)> arrange;
    const char* row;  // Name, Category, Kind, Managed, Created, LastConnected, Connected, GatewayMac, DnsSuffix
};

class ProfileRow : public ProfileRows, public ::testing::WithParamInterface<RowCase> {};

// Every value is decoded as Windows stores it; a bad one is shown empty and
// loses the row nothing else.
TEST_P(ProfileRow, ShowsEachValueAsStoredAndABadOneEmpty) {
    GetParam().arrange(*this);
    EXPECT_EQ(GetParam().row, Row());
}

void Nothing(ProfileRows&) {}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileRow,
    ::testing::Values(
        RowCase{"AsWindowsWritesIt", Nothing,
                "Network 2\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"ConnectedNow", [](ProfileRows& t) { t.networks.connected = {"{5d1a9c3e-0000-4000-8000-00000000a001}"}; },
                "Network 2\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tyes\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"OtherNumbersAsTheyAre",
                [](ProfileRows& t) {
                    t.SetProfile("Category", kRegDword, DwordBytes(7));
                    t.SetProfile("NameType", kRegDword, DwordBytes(53));
                    t.SetProfile("Managed", kRegDword, DwordBytes(1));
                },
                "Network 2\t7\t53\tyes\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"EveryKindAndCategory",
                [](ProfileRows& t) {
                    t.SetProfile("Category", kRegDword, DwordBytes(2));
                    t.SetProfile("NameType", kRegDword, DwordBytes(243));
                },
                "Network 2\tDomain\tMobile broadband\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"NoProfileName",
                [](ProfileRows& t) { t.SetProfile("ProfileName", kRegBinary, "\x01"s); },
                "\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"WrongTypesAndSizes",
                [](ProfileRows& t) {
                    t.SetProfile("Category", kRegSz, "0\0"s);
                    t.SetProfile("NameType", kRegDword, "\x06\0"s);
                    t.SetProfile("DateCreated", kRegBinary, SystemTimeBytes({2025, 3, 1, 9, 0, 0}).substr(0, 15));
                    t.SetProfile("DateLastConnected", kRegDword, DwordBytes(1));
                },
                "Network 2\t\t\tno\t\t\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"DatesThatAreNoDates",
                [](ProfileRows& t) {
                    t.SetProfile("DateCreated", kRegBinary, SystemTimeBytes({2025, 2, 29, 9, 0, 0}));
                    t.SetProfile("DateLastConnected", kRegBinary, SystemTimeBytes({2026, 13, 1, 9, 0, 0}));
                },
                "Network 2\tPublic\tWired\tno\t\t\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"LeapDayIsADate",
                [](ProfileRows& t) { t.SetProfile("DateCreated", kRegBinary, SystemTimeBytes({2024, 2, 29, 23, 59, 59})); },
                "Network 2\tPublic\tWired\tno\t2024-02-29T23:59:59\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"SignaturesOfBothKindsAnyCase",
                [](ProfileRows& t) {
                    ASSERT_EQ(kSuccess, SeedSignature(t.registry, "Unmanaged", "0A0B", "{5d1a9c3e-0000-4000-8000-00000000a001}",
                                                      "\xAA\xBB\xCC\xDD\xEE\xFF"s, ""));
                },
                "Network 2\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E,AA-BB-CC-DD-EE-FF"
                "\tcorp.example"},
        RowCase{"SignaturesThatNameNoProfileAreLeftAlone",
                [](ProfileRows& t) {
                    const std::string signatures = std::string(kNetworkListKey) + "\\Signatures\\Unmanaged\\";
                    t.Set(signatures + "01", "DnsSuffix", kRegSz, "none.example\0"s);
                    ASSERT_EQ(kSuccess, SeedSignature(t.registry, "Unmanaged", "02", "Network 2", kMac, "noguid.example"));
                    ASSERT_EQ(kSuccess, SeedSignature(t.registry, "Unmanaged", "03", "{5D1A9C3E-0000-4000-8000-00000000A0FF}",
                                                      kMac, "other.example"));
                },
                "Network 2\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t00-1A-2B-3C-4D-5E\tcorp.example"},
        RowCase{"GatewayOfAnotherSize",
                [](ProfileRows& t) {
                    t.Set(std::string(kNetworkListKey) + "\\Signatures\\Managed\\0102", "DefaultGatewayMac", kRegBinary, "\x01\x02"s);
                },
                "Network 2\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-20T17:45:10\tno\t\tcorp.example"},
        RowCase{"UnreadableProfileIsListedWithWhatCouldBeRead",
                [](ProfileRows& t) { t.registry.SetRights(kLocalMachine, kKey, {.canRead = false}); },
                "\t\t\t\t\t\tno\t00-1A-2B-3C-4D-5E\tcorp.example"}),
    [](const auto& info) { return info.param.what; });

// The self-check: a connected network whose ID names no profile, or a
// service that cannot be asked, leaves every profile's state unknown.
TEST_F(ProfileRows, WhatTheServiceCannotShowLeavesConnectedUnknown) {
    networks.connected = {"{00000001-0000-0000-0000-4E6574446576}"};
    ProfileScan scan = ScanProfiles(test.services);
    EXPECT_EQ("no connected network's ID names a stored profile: {00000001-0000-0000-0000-4E6574446576}",
              scan.notTold.value_or(""));
    EXPECT_FALSE(scan.profiles[0].connected);

    networks.failing = true;
    scan = ScanProfiles(test.services);
    EXPECT_EQ("the network list service could not be asked: INetworkListManager::GetNetworks failed with error "
              "2147549448: The object invoked has disconnected from its clients.",
              scan.notTold.value_or(""));
    EXPECT_FALSE(scan.profiles[0].connected);
}

struct StaleCase {
    const char* what;
    std::optional<LocalTime> lastConnected;
    std::optional<bool> connected;
    std::uint32_t days;
    bool stale;
};

class StaleProfiles : public ::testing::TestWithParam<StaleCase> {};

// Both dates are local times, compared as they stand; at least the days, as entries are.
TEST_P(StaleProfiles, AreNotConnectedAndLastConnectedMoreThanTheDaysAgo) {
    NetworkProfile profile;
    profile.lastConnected = GetParam().lastConnected;
    profile.connected = GetParam().connected;
    const LocalTime now{2024, 3, 30, 12, 0, 0};
    EXPECT_EQ(GetParam().stale, IsStaleProfile(profile, now, GetParam().days));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, StaleProfiles,
    ::testing::Values(StaleCase{"ThirtyOneDays", LocalTime{2024, 2, 28, 12, 0, 0}, false, 30, true},
                      StaleCase{"ThirtyDaysExactly", LocalTime{2024, 2, 29, 12, 0, 0}, false, 30, true},
                      StaleCase{"ASecondLess", LocalTime{2024, 2, 29, 12, 0, 1}, false, 30, false},
                      StaleCase{"AcrossAYearEnd", LocalTime{2023, 12, 31, 23, 0, 0}, false, 90, false},
                      StaleCase{"ConnectedNow", LocalTime{2020, 1, 1, 0, 0, 0}, true, 30, false},
                      StaleCase{"ConnectedUnknown", LocalTime{2020, 1, 1, 0, 0, 0}, std::nullopt, 30, false},
                      StaleCase{"NoDate", std::nullopt, false, 0, false},
                      StaleCase{"ZeroDays", LocalTime{2024, 3, 30, 11, 59, 59}, false, 0, true},
                      StaleCase{"ZeroDaysAtTheSameSecond", LocalTime{2024, 3, 30, 12, 0, 0}, false, 0, true}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

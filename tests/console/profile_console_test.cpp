#include "console/console_fixture.h"
#include "support/seed_profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

constexpr char kConnected[] = "{5D1A9C3E-0000-4000-8000-0000000000B1}";
constexpr char kStale[] = "{5D1A9C3E-0000-4000-8000-0000000000B2}";
constexpr char kRecent[] = "{5D1A9C3E-0000-4000-8000-0000000000B3}";
const std::string kSignature = std::string(kNetworkListKey) + "\\Signatures\\Managed\\0102";

std::string Escaped(const std::string& text) {
    std::string json;
    for (char c : text) json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return json;
}

// "Network", connected now; "Network 2", last connected in January, with
// a signature; "Network 3", last connected eight days before the clock.
class ConsoleProfiles : public ConsoleProgram {
public:
    void SetUp() override {
        ConsoleProgram::SetUp();
        ASSERT_EQ(kSuccess, SeedProfile(registry, kConnected, "Network", {2026, 12, 8, 7, 0, 0}));
        ASSERT_EQ(kSuccess, SeedProfile(registry, kStale, "Network 2", {2026, 1, 10, 18, 30, 0}));
        ASSERT_EQ(kSuccess, SeedProfile(registry, kRecent, "Network 3", {2026, 11, 30, 9, 0, 0}));
        ASSERT_EQ(kSuccess, SeedSignature(registry, "Managed", "0102", kStale, "\x00\x1A\x2B\x3C\x4D\x5E"s, "lab"));
        networks.connected = {kConnected};
    }
};

struct ProfileCase {
    const char* what;
    std::vector<std::string> arguments;  // after delete --profiles, and before --format json
    std::function<void(ConsoleProfiles&)> arrange;
    ExitCode exit;
    std::vector<std::string> parts;  // found in the report; none for a usage error
    std::vector<std::string> lines;  // found in what the same run prints without --format json
    std::vector<std::string> stay = {};  // profile keys still there after the run
};

class ProfileDeletions : public ConsoleProfiles, public ::testing::WithParamInterface<ProfileCase> {};

// As entries go: each key backed up just before it goes, the lines for a
// script, and one report; a connected profile never goes.
TEST_P(ProfileDeletions, GoAsEntriesDoAndNeverTakeAConnectedOne) {
    GetParam().arrange(*this);
    std::vector<std::string> arguments{"delete", "--profiles"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    arguments.insert(arguments.end(), {"--format", "json"});
    EXPECT_EQ(GetParam().exit, Run(arguments));
    EXPECT_TRUE(Exists(kProfiles + kConnected)) << "connected, never deleted";
    for (const std::string& key : GetParam().stay) EXPECT_TRUE(Exists(key)) << key;
    for (const std::string& part : GetParam().parts) EXPECT_NE(std::string::npos, output.out.find(part)) << output.out;
    ExpectLinesWithoutJson<ConsoleProfiles>(GetParam().arrange, arguments, GetParam().exit, GetParam().lines);
}

void Nothing(ConsoleProfiles&) {}

const std::string kStaleKey = kProfiles + kStale;
// A network with no gateway, which Windows identifies by no profile.
constexpr char kUnidentified[] = "{00000001-0000-0000-0000-4E6574446576}";

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ProfileDeletions,
    ::testing::Values(
        ProfileCase{"StaleGoWithTheirSignatures", {"--stale"}, Nothing, ExitCode::Done,
                    {"{\"deleted\":[{\"key\":\"" + Escaped(kStaleKey) + "\",\"name\":\"Network 2\",\"signatures\":[\"" +
                         Escaped(kSignature) + "\"]}],\r\n",
                     "\"backups\":[\"C:\\\\Tools\\\\Tarvex-20261208-070509.reg\",\"C:\\\\Tools\\\\SmallBackup.reg\"]"},
                    {"deleted\t" + kStaleKey, "deleted signature\t" + kSignature,
                     "1 deleted, 0 failed; signatures: 1 deleted, 0 failed, 0 kept",
                     "deleted: Network 2; backups: C:\\Tools\\Tarvex-20261208-070509.reg, C:\\Tools\\SmallBackup.reg",
                     "tarvex: to undo this run, in PowerShell: reg import 'C:\\Tools\\Tarvex-20261208-070509.reg' /reg:64"}},
        ProfileCase{"NamedByGuidInAnyCaseWithoutBraces",
                    {"--profile", "5d1a9c3e-0000-4000-8000-0000000000b3", "--backup", "none"}, Nothing, ExitCode::Done,
                    {"\"key\":\"" + Escaped(kProfiles + kRecent) + "\""}, {"deleted\t" + kProfiles + kRecent}},
        ProfileCase{"ConnectedIsAUsageError", {"--profile", kConnected}, Nothing, ExitCode::Usage, {},
                    {"tarvex: the profile " + std::string(kConnected) + " (Network) is connected now, and a connected "
                     "profile is never deleted: Windows would identify the network afresh, as a new network on the "
                     "Public category, and its firewall profile would follow"}},
        ProfileCase{"UnlistedGuid", {"--profile", "{5D1A9C3E-0000-4000-8000-0000000000FF}"}, Nothing, ExitCode::Usage, {},
                    {"tarvex: not the GUID of a listed network profile: {5D1A9C3E-0000-4000-8000-0000000000FF}"}},
        ProfileCase{"ServiceCannotBeAsked", {"--stale"}, [](ConsoleProfiles& c) { c.networks.failing = true; },
                    ExitCode::StaleUnknown, {"{\"deleted\":[],\r\n"},
                    {"tarvex: cannot tell which network profile is connected, so none is deleted: the network list "
                     "service could not be asked: INetworkListManager::GetNetworks failed with error 2147549448: The "
                     "object invoked has disconnected from its clients."}},
        ProfileCase{"NoConnectedNetworkNamesAProfile", {"--profile", kStale},
                    [](ConsoleProfiles& c) { c.networks.connected = {kUnidentified}; }, ExitCode::StaleUnknown,
                    {"{\"deleted\":[],\r\n"},
                    {"tarvex: cannot tell which network profile is connected, so none is deleted: no connected "
                     "network's ID names a stored profile: {00000001-0000-0000-0000-4E6574446576}"},
                    {kStaleKey}},
        ProfileCase{"UnidentifiedNetworkBesideAProfiledOne", {"--stale"},
                    [](ConsoleProfiles& c) { c.networks.connected.push_back(kUnidentified); }, ExitCode::Done,
                    {"\"name\":\"Network 2\""},
                    {"connected network {00000001-0000-0000-0000-4E6574446576} has no stored profile (unidentified)",
                     "deleted\t" + kStaleKey}},
        ProfileCase{"ConnectedSinceTheScan", {"--stale"},
                    [](ConsoleProfiles& c) {
                        // The service gives the ID in lower case, the key is in capitals.
                        c.networks.afterCall = [](FakeNetworkList& n) {
                            n.connected.push_back("{5d1a9c3e-0000-4000-8000-0000000000b2}");
                        };
                    },
                    ExitCode::Done, {"\"kept\":[{\"what\":\"" + Escaped(kStaleKey) + "\",\"reason\":\"connected since the scan\"}"},
                    {"kept\t" + kStaleKey + "\tconnected since the scan",
                     "kept signature\t" + kSignature + "\tconnected since the scan"},
                    {kStaleKey, kSignature}},
        ProfileCase{"NotAskedAgainIsKept", {"--stale"},
                    [](ConsoleProfiles& c) { c.networks.afterCall = [](FakeNetworkList& n) { n.failing = true; }; },
                    ExitCode::Done, {"\"reason\":\"whether its network is connected could not be checked: "
                                     "INetworkListManager::GetNetworks failed with error 2147549448"},
                    {}, {kStaleKey}},
        ProfileCase{"UndatedIsNeverStale", {"--stale", "--not-seen-for", "0"},
                    [](ConsoleProfiles& c) {
                        ASSERT_EQ(kSuccess, c.registry.SetValue(kLocalMachine, kProfiles + kRecent, "DateLastConnected",
                                                                kRegDword, DwordBytes(1)));
                    },
                    ExitCode::Done, {"\"name\":\"Network 2\""}, {"1 kept: connected now; 1 kept: no date"},
                    {kProfiles + kRecent}},
        ProfileCase{"GuidWhoseNameTheFilterRefuses", {"--profile", kStale, "--name", "Network 3"}, Nothing,
                    ExitCode::Usage, {}, {"tarvex: not the GUID of a listed network profile: " + std::string(kStale)},
                    {kStaleKey}},
        ProfileCase{"DryRun", {"--stale", "--dry-run"}, Nothing, ExitCode::Done,
                    {"\"dryRun\":true", "\"name\":\"Network 2\"", "\"backups\":[]"},
                    {"would delete\t" + kStaleKey, "would delete signature\t" + kSignature,
                     "would delete: Network 2; would write: C:\\Tools\\Tarvex-YYYYMMDD-HHMMSS.reg, C:\\Tools\\SmallBackup.reg"}}),
    [](const auto& info) { return info.param.what; });

struct ListCase {
    const char* what;
    std::vector<std::string> arguments;
    bool serviceFails;
    ExitCode exit;
    std::string out;  // found in standard output
    std::string err;  // found on the error stream; none when empty
};

class ProfileLists : public ConsoleProfiles, public ::testing::WithParamInterface<ListCase> {};

// What cannot tell a profile in use from one unused stops what asks for stale ones, and only that.
TEST_P(ProfileLists, ListAndCountWhatTheServiceLetsThemTell) {
    networks.failing = GetParam().serviceFails;
    EXPECT_EQ(GetParam().exit, Run(GetParam().arguments));
    EXPECT_NE(std::string::npos, output.out.find(GetParam().out)) << output.out;
    EXPECT_NE(std::string::npos, output.err.find(GetParam().err)) << output.err;
    if (GetParam().err.empty()) EXPECT_EQ("", output.err);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ProfileLists,
    ::testing::Values(
        ListCase{"List", {"list", "--profiles"}, false, ExitCode::Done,
                 "Name\tCategory\tKind\tManaged\tCreated\tLastConnected\tConnected\tGatewayMac\tDnsSuffix\tKey\r\n"
                 "Network\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-12-08T07:00:00\tyes\t\t\t" + kProfiles + kConnected},
        ListCase{"ListStale", {"list", "--profiles", "--stale", "--format", "json"}, false, ExitCode::Done,
                 "[\r\n{\"name\":\"Network 2\",\"category\":\"Public\",\"kind\":\"Wired\",\"managed\":false,\"created\":"
                 "\"2025-03-01T09:00:00\",\"lastConnected\":\"2026-01-10T18:30:00\",\"connected\":false,\"gatewayMac\":"
                 "[\"00-1A-2B-3C-4D-5E\"],\"dnsSuffix\":[\"lab\"],\"key\":\"" + Escaped(kStaleKey) + "\"}\r\n]\r\n",
                 "1 kept: connected now; 1 kept: seen within 30 days\r\n"},
        ListCase{"ListWithoutTheService", {"list", "--profiles", "--name", "Network 3"}, true, ExitCode::Done,
                 "Network 3\tPublic\tWired\tno\t2025-03-01T09:00:00\t2026-11-30T09:00:00\t\t\t\t",
                 "tarvex: warning: cannot tell which network profile is connected, so Connected is empty"},
        ListCase{"ListStaleWithoutTheService", {"list", "--profiles", "--stale"}, true, ExitCode::StaleUnknown, "",
                 "tarvex: cannot tell which network profile is connected, so none can be told stale"},
        ListCase{"Check", {"check", "--profiles"}, false, ExitCode::StaleFound, "1\r\n",
                 "1 kept: connected now; 1 kept: seen within 30 days\r\n"},
        // Only what is asked for stale ones counts what it kept.
        ListCase{"DeleteByGuid",
                 {"delete", "--profiles", "--profile", kRecent, "--backup", "none", "--format", "summary"}, false, ExitCode::Done, "1 deleted, 0 failed; deleted: Network 3\r\n", ""},
        ListCase{"CheckSummary", {"check", "--profiles", "--not-seen-for", "5", "--format", "summary"}, false,
                 ExitCode::StaleFound, "2 stale profiles: Network 2, Network 3; 1 kept: connected now\r\n", ""},
        ListCase{"CheckSummaryOfNothing", {"check", "--profiles", "--name", "Network 3", "--format", "summary"}, false,
                 ExitCode::Done, "0 stale profiles; 1 kept: seen within 30 days\r\n", ""},
        ListCase{"ListSummaryOfNothing", {"list", "--profiles", "--stale", "--name", "Network", "--format", "summary"},
                 false, ExitCode::Done, "0 profiles; 1 kept: connected now\r\n", ""},
        ListCase{"CheckWithoutTheService", {"check", "--profiles"}, true, ExitCode::StaleUnknown, "",
                 "so none can be told stale: the network list service could not be asked"},
        ListCase{"NameThatMatchesNoProfile", {"list", "--profiles", "--name", "Office"}, false, ExitCode::Done,
                 "Name\tCategory", "tarvex: no network profile matches 'Office'; PATTERN takes * and ?"}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

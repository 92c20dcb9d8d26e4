#include "core/ipv4_settings.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace tarvex {
namespace {

using namespace std::string_literals;

// The row's GUID in capitals, as the Network key has it; Tcpip writes it in lower case.
constexpr char kRow[] = "SYSTEM\\ControlSet001\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\{9A1B}";
constexpr char kInterface[] = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\{9a1b}";

TEST(IpSettingsKeys, AreTheFourKeysUnderTheRowsGuidInItsControlSet) {
    const std::array<AnsiText, 4> expected = {
        "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces\\{9A1B}",
        "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Adapters\\{9A1B}",
        "SYSTEM\\ControlSet001\\Services\\Tcpip6\\Parameters\\Interfaces\\{9A1B}",
        "SYSTEM\\ControlSet001\\Services\\NetBT\\Parameters\\Interfaces\\Tcpip_{9A1B}"};
    EXPECT_EQ(expected, IpSettingsKeys(kRow));
}

using Value = std::tuple<std::string, std::uint32_t, std::string>;

struct SettingsCase {
    const char* what;
    std::vector<Value> values;
    Ipv4Settings whole;
    std::string shown;  // the IPv4 column
};

class StoredSettings : public ::testing::TestWithParam<SettingsCase> {};

bool Same(const Ipv4Settings& a, const Ipv4Settings& b) {
    return a.dhcp == b.dhcp && a.addresses == b.addresses && a.subnetMasks == b.subnetMasks &&
           a.gateways == b.gateways && a.dnsServers == b.dnsServers;
}

// The column reads only what it shows: whether DHCP is on, else the addresses.
TEST_P(StoredSettings, AreReadAsWindowsWritesThem) {
    MemoryRegistry registry;
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, kInterface));
    for (const auto& [name, type, bytes] : GetParam().values) {
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kInterface, name, type, bytes));
    }
    const std::optional<Ipv4Settings> whole = ReadIpv4Settings(registry, kLocalMachine, kInterface, Ipv4Reads::Whole);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(Same(GetParam().whole, *whole));
    const std::optional<Ipv4Settings> shown = ReadIpv4Settings(registry, kLocalMachine, kInterface, Ipv4Reads::Shown);
    ASSERT_TRUE(shown);
    EXPECT_EQ(GetParam().whole.dhcp, shown->dhcp);
    EXPECT_EQ(GetParam().whole.dhcp ? std::vector<AnsiText>{} : GetParam().whole.addresses, shown->addresses);
    EXPECT_EQ(GetParam().shown, Ipv4Text(shown));
    EXPECT_EQ(GetParam().shown, Ipv4Text(whole));
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

const std::string kOn = "\x01\0\0\0"s;
const std::string kOff = "\0\0\0\0"s;

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettings,
    ::testing::Values(
        SettingsCase{"Dhcp",
                     {{"EnableDHCP", kRegDword, kOn}, {"IPAddress", kRegMultiSz, "0.0.0.0\0\0"s},
                      {"DhcpIPAddress", kRegSz, "10.1.2.3\0"s}},
                     {true, {"0.0.0.0"}, {}, {}, {}},
                     "DHCP"},
        SettingsCase{"StaticWithSeveralAddresses",
                     {{"EnableDHCP", kRegDword, kOff},
                      {"IPAddress", kRegMultiSz, "10.0.0.5\0" "10.0.0.6\0\0"s},
                      {"SubnetMask", kRegMultiSz, "255.255.255.0\0" "255.255.0.0\0\0"s},
                      {"DefaultGateway", kRegMultiSz, "10.0.0.1\0\0"s},
                      {"NameServer", kRegSz, "10.0.0.2,10.0.0.3\0"s}},
                     {false, {"10.0.0.5", "10.0.0.6"}, {"255.255.255.0", "255.255.0.0"}, {"10.0.0.1"},
                      {"10.0.0.2", "10.0.0.3"}},
                     "10.0.0.5, 10.0.0.6"},
        SettingsCase{"ZeroAddressIsNoAddress",
                     {{"IPAddress", kRegMultiSz, "0.0.0.0\0" "192.168.1.2\0\0"s}},
                     {false, {"0.0.0.0", "192.168.1.2"}, {}, {}, {}},
                     "192.168.1.2"},
        SettingsCase{"OlderSystemsWriteOneText",
                     {{"IPAddress", kRegSz, "192.168.0.10\0"s}, {"SubnetMask", kRegSz, "255.255.255.0\0"s},
                      {"DefaultGateway", kRegSz, "\0"s}},
                     {false, {"192.168.0.10"}, {"255.255.255.0"}, {}, {}},
                     "192.168.0.10"},
        SettingsCase{"ServersBySpacesAndCommas",
                     {{"EnableDHCP", kRegDword, kOff}, {"NameServer", kRegSz, " 8.8.8.8  8.8.4.4, 1.1.1.1,\0"s}},
                     {false, {}, {}, {}, {"8.8.8.8", "8.8.4.4", "1.1.1.1"}},
                     ""},
        SettingsCase{"NoValues", {}, {}, ""},
        SettingsCase{"OtherTypesCountAsAbsent",
                     {{"EnableDHCP", kRegSz, "1\0"s}, {"IPAddress", kRegBinary, "\x0A\0\0\x05"s},
                      {"SubnetMask", kRegExpandSz, "255.0.0.0\0"s}, {"NameServer", kRegMultiSz, "8.8.8.8\0\0"s}},
                     {},
                     ""},
        SettingsCase{"DhcpOfOtherLengthIsNoNumber", {{"EnableDHCP", kRegDword, "\x01\0\0\0\0\0\0\0"s}}, {}, ""}),
    [](const auto& info) { return info.param.what; });

TEST(StoredSettings, AMissingKeyIsNoSettingsAndAnEmptyColumn) {
    MemoryRegistry registry;
    EXPECT_FALSE(ReadIpv4Settings(registry, kLocalMachine, kInterface, Ipv4Reads::Whole));
    EXPECT_EQ("", Ipv4Text(std::nullopt));
}

}  // namespace
}  // namespace tarvex

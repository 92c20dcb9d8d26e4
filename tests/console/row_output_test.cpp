#include "console/row_output.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

const std::string kKey = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{1}";
constexpr FileTime kNow = 134'411'871'090'000'000;       // 2026-12-08T07:05:09Z
constexpr FileTime kOctober = 134'355'109'250'000'000;   // 2026-10-03T14:22:05Z

ConnectionRow Row(const std::string& key, const std::string& controlSet, const std::string& connection,
                  AdapterState adapter, const std::string& device = "",
                  std::optional<std::string> pnpInstanceId = std::nullopt) {
    ConnectionRow row{key};
    row.adapter = adapter;
    row.device = device;
    row.texts = {key, controlSet, connection, pnpInstanceId};
    return row;
}

// A present device is seen now, whatever it recorded; one not present when it last left.
std::vector<ConnectionRow> AwkwardRows() {
    std::vector<ConnectionRow> rows{
        Row(kKey, "ControlSet001", "Tab\there \"quoted\" C:\\path", AdapterState::Present, "Caf\xC3\xA9 \xE2\x82\xAC",
            "PCI\\VEN_8086&DEV_100E\\3&1"),
        Row(kKey + "2", "ControlSet001", "", AdapterState::Unknown),
        Row(kKey + "3", "CurrentControlSet", "Line\r\nbreak \xF0\x9F\x98\x80", AdapterState::NoDevice, "", "USB\\X"),
        Row(kKey + "4", "ControlSet001", "Dock", AdapterState::NotPresent, "Dock NIC", "USB\\D"),
    };
    rows[0].lastArrival = kOctober;
    rows[0].ipv4 = Ipv4Settings{false, {"10.0.0.5", "0.0.0.0"}, {"255.0.0.0", "0.0.0.0"}, {"10.0.0.1"}, {}};
    rows[3].lastRemoval = kOctober;
    rows[3].ipv4 = Ipv4Settings{true, {}, {}, {}, {"10.0.0.2", "10.0.0.3"}};
    return rows;
}

TEST(RowOutput, TsvHasAHeaderAndFlattensTabsAndLineBreaks) {
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n"
              "ControlSet001\tTab here \"quoted\" C:\\path\tPresent\tCaf\xC3\xA9 \xE2\x82\xAC\t" + kKey +
                  "\t2026-12-08T07:05:09Z\t10.0.0.5\r\n"
              "ControlSet001\t\t\t\t" + kKey + "2\t\t\r\n"
              "CurrentControlSet\tLine  break \xF0\x9F\x98\x80\tNo device\t\t" + kKey + "3\t\t\r\n"
              "ControlSet001\tDock\tNot present\tDock NIC\t" + kKey + "4\t2026-10-03T14:22:05Z\tDHCP\r\n",
              TsvTable(AwkwardRows(), kNow));
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n", TsvTable({}, kNow));
}

TEST(RowOutput, JsonIsAsciiAndKeepsEveryCharacter) {
    const std::string key = "SYSTEM\\\\ControlSet001\\\\Control\\\\Network\\\\{C}\\\\{1}";
    EXPECT_EQ("[\r\n"
              "{\"key\":\"" + key + "\",\"controlSet\":\"ControlSet001\","
              "\"connection\":\"Tab\\there \\\"quoted\\\" C:\\\\path\",\"adapter\":\"Present\","
              "\"device\":\"Caf\\u00e9 \\u20ac\",\"pnpInstanceId\":\"PCI\\\\VEN_8086&DEV_100E\\\\3&1\","
              "\"lastSeen\":\"2026-12-08T07:05:09Z\",\"lastArrival\":\"2026-10-03T14:22:05Z\",\"lastRemoval\":null,"
              "\"ipv4\":{\"dhcp\":false,\"addresses\":[\"10.0.0.5\",\"0.0.0.0\"],\"subnetMasks\":[\"255.0.0.0\","
              "\"0.0.0.0\"],\"gateways\":[\"10.0.0.1\"],\"dnsServers\":[]}},\r\n"
              "{\"key\":\"" + key + "2\",\"controlSet\":\"ControlSet001\",\"connection\":\"\",\"adapter\":\"\","
              "\"device\":null,\"pnpInstanceId\":null,\"lastSeen\":null,\"lastArrival\":null,\"lastRemoval\":null,"
              "\"ipv4\":null},\r\n"
              "{\"key\":\"" + key + "3\",\"controlSet\":\"CurrentControlSet\","
              "\"connection\":\"Line\\r\\nbreak \\ud83d\\ude00\",\"adapter\":\"No device\",\"device\":null,"
              "\"pnpInstanceId\":\"USB\\\\X\",\"lastSeen\":null,\"lastArrival\":null,\"lastRemoval\":null,"
              "\"ipv4\":null},\r\n"
              "{\"key\":\"" + key + "4\",\"controlSet\":\"ControlSet001\",\"connection\":\"Dock\","
              "\"adapter\":\"Not present\",\"device\":\"Dock NIC\",\"pnpInstanceId\":\"USB\\\\D\","
              "\"lastSeen\":\"2026-10-03T14:22:05Z\",\"lastArrival\":null,\"lastRemoval\":\"2026-10-03T14:22:05Z\","
              "\"ipv4\":{\"dhcp\":true,\"addresses\":[],\"subnetMasks\":[],\"gateways\":[],"
              "\"dnsServers\":[\"10.0.0.2\",\"10.0.0.3\"]}}\r\n"
              "]\r\n",
              JsonArray(AwkwardRows(), kNow));
    EXPECT_EQ("[]\r\n", JsonArray({}, kNow));
}

TEST(RowOutput, JsonEscapesControlCharactersAndReplacesBrokenUtf8) {
    std::string json = JsonArray({Row("k", "s", std::string("\x01\x1F\x7F", 3) + "\xC3", AdapterState::Unknown)}, kNow);
    EXPECT_NE(std::string::npos, json.find("\"connection\":\"\\u0001\\u001f\\u007f\\ufffd\""));
    for (char c : json) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
}

}  // namespace
}  // namespace tarvex

#include "console/row_output.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

const std::string kKey = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{1}";

ConnectionRow Row(const std::string& key, const std::string& controlSet, const std::string& connection,
                  AdapterState adapter, const std::string& device = "",
                  std::optional<std::string> pnpInstanceId = std::nullopt) {
    ConnectionRow row{key};
    row.adapter = adapter;
    row.device = device;
    row.texts = {key, controlSet, connection, pnpInstanceId};
    return row;
}

std::vector<ConnectionRow> AwkwardRows() {
    return {
        Row(kKey, "ControlSet001", "Tab\there \"quoted\" C:\\path", AdapterState::Present, "Caf\xC3\xA9 \xE2\x82\xAC",
            "PCI\\VEN_8086&DEV_100E\\3&1"),
        Row(kKey + "2", "ControlSet001", "", AdapterState::Unknown),
        Row(kKey + "3", "CurrentControlSet", "Line\r\nbreak \xF0\x9F\x98\x80", AdapterState::NoDevice, "", "USB\\X"),
    };
}

TEST(RowOutput, TsvHasAHeaderAndFlattensTabsAndLineBreaks) {
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\r\n"
              "ControlSet001\tTab here \"quoted\" C:\\path\tPresent\tCaf\xC3\xA9 \xE2\x82\xAC\t" + kKey + "\r\n"
              "ControlSet001\t\t\t\t" + kKey + "2\r\n"
              "CurrentControlSet\tLine  break \xF0\x9F\x98\x80\tNo device\t\t" + kKey + "3\r\n",
              TsvTable(AwkwardRows()));
    EXPECT_EQ("ControlSet\tConnection\tAdapter\tDevice\tKey\r\n", TsvTable({}));
}

TEST(RowOutput, JsonIsAsciiAndKeepsEveryCharacter) {
    const std::string key = "SYSTEM\\\\ControlSet001\\\\Control\\\\Network\\\\{C}\\\\{1}";
    EXPECT_EQ("[\r\n"
              "{\"key\":\"" + key + "\",\"controlSet\":\"ControlSet001\","
              "\"connection\":\"Tab\\there \\\"quoted\\\" C:\\\\path\",\"adapter\":\"Present\","
              "\"device\":\"Caf\\u00e9 \\u20ac\",\"pnpInstanceId\":\"PCI\\\\VEN_8086&DEV_100E\\\\3&1\"},\r\n"
              "{\"key\":\"" + key + "2\",\"controlSet\":\"ControlSet001\",\"connection\":\"\",\"adapter\":\"\","
              "\"device\":null,\"pnpInstanceId\":null},\r\n"
              "{\"key\":\"" + key + "3\",\"controlSet\":\"CurrentControlSet\","
              "\"connection\":\"Line\\r\\nbreak \\ud83d\\ude00\",\"adapter\":\"No device\",\"device\":null,"
              "\"pnpInstanceId\":\"USB\\\\X\"}\r\n"
              "]\r\n",
              JsonArray(AwkwardRows()));
    EXPECT_EQ("[]\r\n", JsonArray({}));
}

TEST(RowOutput, JsonEscapesControlCharactersAndReplacesBrokenUtf8) {
    std::string json = JsonArray({Row("k", "s", std::string("\x01\x1F\x7F", 3) + "\xC3", AdapterState::Unknown)});
    EXPECT_NE(std::string::npos, json.find("\"connection\":\"\\u0001\\u001f\\u007f\\ufffd\""));
    for (char c : json) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
}

}  // namespace
}  // namespace tarvex

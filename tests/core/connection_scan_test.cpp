#include "core/connection_scan.h"
#include "support/fake_connection_list.h"
#include "support/fake_devices.h"
#include "support/memory_registry.h"
#include "support/seed_connection.h"
#include "support/test_services.h"
#include "window/fill_connection_list.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvex {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

const std::string kCurrent = "SYSTEM\\CurrentControlSet\\Control\\Network";
const std::string kSet1 = "SYSTEM\\ControlSet001\\Control\\Network";
const std::string kSet2 = "SYSTEM\\ControlSet002\\Control\\Network";
const std::string kSet3 = "SYSTEM\\ControlSet003\\Control\\Network";

class ConnectionScanTest : public ::testing::Test {
protected:
    void AddConnection(const std::string& networkPath, const std::string& classKey, const std::string& connectionKey,
                       const std::string& name) {
        ASSERT_EQ(kSuccess, SeedConnection(registry, networkPath + "\\" + classKey + "\\" + connectionKey, name));
    }
    void AddKey(const std::string& path) { ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, path)); }

    Rows Scan() {
        FillConnectionList(TestServices(registry, devices).services, list, messages);
        Rows rows;
        for (int i = 0; i < list.RowCount(); ++i) rows.emplace_back(list.RowText(i), list.RowSubItem(i));
        return rows;
    }

    MemoryRegistry registry;
    FakeDevices devices;
    FakeConnectionList list;
    RecordingMessageBoxes messages;
};

TEST_F(ConnectionScanTest, RowsFollowPathOrderThenEnumerationOrder) {
    AddConnection(kSet3, "{C}", "{3}", "Third set");
    AddConnection(kSet2, "{B}", "{2}", "Second set");
    AddConnection(kCurrent, "{B}", "{Y}", "Wi-Fi");
    AddConnection(kCurrent, "{A}", "{Z}", "Ethernet");
    AddConnection(kCurrent, "{A}", "{X}", "VPN");

    EXPECT_EQ((Rows{{kCurrent + "\\{A}\\{X}", "VPN"},
                    {kCurrent + "\\{A}\\{Z}", "Ethernet"},
                    {kCurrent + "\\{B}\\{Y}", "Wi-Fi"},
                    {kSet2 + "\\{B}\\{2}", "Second set"},
                    {kSet3 + "\\{C}\\{3}", "Third set"}}),
              Scan());
}

TEST_F(ConnectionScanTest, SameConnectionUnderTwoControlSetsGivesTwoRows) {
    AddConnection(kCurrent, "{A}", "{X}", "Ethernet");
    AddConnection(kSet1, "{A}", "{X}", "Ethernet");
    EXPECT_EQ((Rows{{kCurrent + "\\{A}\\{X}", "Ethernet"}, {kSet1 + "\\{A}\\{X}", "Ethernet"}}), Scan());
}

TEST_F(ConnectionScanTest, NamesNotStartingWithABraceAreSkippedAndNeverOpened) {
    AddConnection(kCurrent, "Descriptions", "{X}", "hidden at class level");
    AddConnection(kCurrent, "{A}", "Ndi", "hidden at connection level");
    AddConnection(kCurrent, "{A}", "x{Y}", "brace not first");
    AddConnection(kCurrent, "{A}", "{not a guid", "Kept");

    EXPECT_EQ((Rows{{kCurrent + "\\{A}\\{not a guid", "Kept"}}), Scan());
    for (const std::string& opened : registry.OpenedPaths()) {
        EXPECT_EQ(std::string::npos, opened.find("Descriptions")) << opened;
        EXPECT_EQ(std::string::npos, opened.find("Ndi")) << opened;
        EXPECT_EQ(std::string::npos, opened.find("x{Y}")) << opened;
    }
}

TEST_F(ConnectionScanTest, OpensOneListingPerKeyAndOneReadPerConnection) {
    AddConnection(kCurrent, "{A}", "{X}", "One");
    AddConnection(kCurrent, "{A}", "{Y}", "Two");
    AddKey(kCurrent + "\\{B}");
    Scan();
    // Four Network paths, two class keys, two connection reads (the name and
    // the instance ID share one open), and one look a control set for its
    // IPv4 interfaces (none here, so no row looks for its own); the devices
    // are asked once a scan.
    EXPECT_EQ(12, registry.CallCount(RegistryCall::OpenKey));
    EXPECT_EQ(0u, registry.OpenHandleCount());
    EXPECT_EQ(0, devices.queries) << "no row names an adapter";
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, kCurrent + "\\{A}\\{X}\\Connection", "PnpInstanceID", kRegSz,
                                          std::string("PCI\\NIC\0", 9)));
    Scan();
    EXPECT_EQ(2, devices.queries);
}

TEST_F(ConnectionScanTest, NoNetworkKeysGiveAnEmptyList) { EXPECT_TRUE(Scan().empty()); }

TEST_F(ConnectionScanTest, ConnectionsWithoutAReadableNameGiveNoRow) {
    AddKey(kCurrent + "\\{A}\\{NoConnection}\\Ndi");
    AddKey(kCurrent + "\\{A}\\{NoName}\\Connection");
    AddConnection(kCurrent, "{A}", "{Empty}", "");
    std::string numeric = kCurrent + "\\{A}\\{Dword}\\Connection";
    AddKey(numeric);
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, numeric, "Name", kRegDword, std::string("\x07\0\0\0", 4)));
    AddKey(kCurrent + "\\{Empty class}");

    EXPECT_EQ((Rows{{kCurrent + "\\{A}\\{Dword}", "7"}, {kCurrent + "\\{A}\\{Empty}", ""}}), Scan());
}

TEST_F(ConnectionScanTest, ReadOnlyCallerGetsNoRows) {
    AddConnection(kCurrent, "{A}", "{X}", "Ethernet");
    AddConnection(kSet1, "{A}", "{X}", "Ethernet");
    registry.SetRights(kLocalMachine, kCurrent + "\\{A}\\{X}\\Connection", {.canRead = true, .canWrite = false});
    registry.SetRights(kLocalMachine, kSet1 + "\\{A}\\{X}\\Connection", {.canRead = true, .canWrite = false});
    EXPECT_TRUE(Scan().empty());
}

TEST_F(ConnectionScanTest, UnlistableNetworkKeyIsSkippedAndTheRestScanned) {
    AddConnection(kCurrent, "{A}", "{X}", "Hidden");
    AddConnection(kSet1, "{A}", "{X}", "Shown");
    registry.SetRights(kLocalMachine, kCurrent, {.canRead = false, .canWrite = false});
    EXPECT_EQ((Rows{{kSet1 + "\\{A}\\{X}", "Shown"}}), Scan());
}

TEST_F(ConnectionScanTest, SecondScanReplacesRowsAndDropsMarks) {
    AddConnection(kCurrent, "{A}", "{X}", "Ethernet");
    AddConnection(kCurrent, "{A}", "{Y}", "Wi-Fi");
    Rows first = Scan();
    list.SetChecked(0, true);
    list.rows[1].selected = true;
    AddConnection(kSet2, "{A}", "{Z}", "New");

    Rows second = Scan();
    first.emplace_back(kSet2 + "\\{A}\\{Z}", "New");
    EXPECT_EQ(first, second);
    for (const auto& row : list.rows) EXPECT_FALSE(row.checked || row.selected);
}

TEST_F(ConnectionScanTest, FillsWithDrawingSuspendedAndRestoresIt) {
    AddConnection(kCurrent, "{A}", "{X}", "Ethernet");
    Scan();
    EXPECT_EQ(0, list.rowsAddedWhileDrawing);
    EXPECT_EQ(0, list.suspendDepth);
}

TEST_F(ConnectionScanTest, RowsComeBackSortedWhenSortingIsOn) {
    AddConnection(kCurrent, "{A}", "{X}", "beta");
    AddConnection(kCurrent, "{A}", "{Y}", "Alpha");
    AddConnection(kSet1, "{A}", "{X}", "gamma");
    list.SetSortColumn(1);
    list.SetSortDirection(SortDirection::Descending);
    list.SetSorted(true);
    Rows rows = Scan();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("gamma", rows[0].second);
    EXPECT_EQ("beta", rows[1].second);
    EXPECT_EQ("Alpha", rows[2].second);
}

struct SplitCase {
    std::string list;
    std::vector<std::string> pieces;
};

class SplitSubkeyListTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitSubkeyListTest, KeepsEmptyPieces) { EXPECT_EQ(GetParam().pieces, SplitSubkeyList(GetParam().list)); }

INSTANTIATE_TEST_SUITE_P(Shapes, SplitSubkeyListTest,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{std::string("\0\0", 2), {"", "", ""}},
                                           SplitCase{std::string("{A}\0\0", 5), {"{A}", "", ""}},
                                           SplitCase{std::string("{A}\0b\0\0", 7), {"{A}", "b", "", ""}},
                                           SplitCase{"tail", {"tail"}}));

}  // namespace
}  // namespace tarvex

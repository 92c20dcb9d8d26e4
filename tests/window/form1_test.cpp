#include "form1_harness.h"
#include "support/seed_connection.h"
#include "window/fill_connection_list.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarvex {
namespace {

// A list control that fails where a test asks: emptying itself, or ending
// the update (which sorts and redraws, and can fail like any list call).
class FailingList final : public FakeConnectionList {
public:
    void RemoveAllRows() override {
        if (emptying) throw *emptying;
        FakeConnectionList::RemoveAllRows();
    }
    void EndUpdate() override {
        FakeConnectionList::EndUpdate();
        ++endUpdates;
        if (endingUpdate) throw *endingUpdate;
    }
    std::optional<AppError> emptying;
    std::optional<AppError> endingUpdate;
    int endUpdates = 0;
};

const AppError kInvalidHandle(1400, "Invalid window handle.");

TEST(Form1Events, ScanFailureTakesTheUntrappedPathAndRestoresDrawing) {
    Form1Harness<FailingList> h;
    h.list.emptying = kInvalidHandle;

    h.form.cmdReadClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("Run-time error '1400':\n\nInvalid window handle.", h.messages.shown[0].text);
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, h.exit.codes);
    EXPECT_EQ(1, h.list.endUpdates);
}

TEST(Form1Events, FailureAtTheEndOfTheScanReachesTheErrorBox) {
    Form1Harness<FailingList> h;
    h.list.endingUpdate = kInvalidHandle;
    h.form.cmdReadClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("Run-time error '1400':\n\nInvalid window handle.", h.messages.shown[0].text);
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, h.exit.codes);
    EXPECT_EQ(0, h.list.suspendDepth);
}

// Both the scan and the end of the update fail: the first failure is the one reported.
TEST(Form1Events, SecondFailureWhileUnwindingIsDroppedNotFatal) {
    Form1Harness<FailingList> h;
    h.list.emptying = AppError(5, "Access is denied.");
    h.list.endingUpdate = kInvalidHandle;
    h.form.cmdReadClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("Run-time error '5':\n\nAccess is denied.", h.messages.shown[0].text);
}

// Empty Adapter cells would read as entries that name no adapter: after
// each scan whose device query failed, one box says why they are empty.
TEST(Form1Events, FailedDeviceQueryIsToldInOneBoxAfterEachScan) {
    for (bool listsNothing : {false, true}) {
        Form1Harness<> h;
        ASSERT_EQ(kSuccess, SeedConnection(h.registry, "SYSTEM\\ControlSet001\\Control\\Network\\{A}\\{X}", "Ethernet",
                                           "PCI\\NIC\\1"));
        h.devices.failing = !listsNothing;
        if (listsNothing) h.devices.present.clear();
        h.form.Load("C:\\Tarvex");
        h.form.cmdReadClick();
        EXPECT_EQ(1, h.list.RowCount()) << "the rows are shown all the same";
        ASSERT_EQ(1u, h.messages.shown.size());
        const ShownMessage& box = h.messages.shown[0];
        EXPECT_EQ(std::string(kDevicesNotListedText) +
                      (listsNothing ? "SetupDiEnumDeviceInfo failed with error 259: No network device was listed at "
                                      "all, though Windows always has some."
                                    : "SetupDiEnumDeviceInfo failed with error 13: The data is invalid.") +
                      kDeviceCellsEmptyText,
                  box.text);
        EXPECT_EQ(MessageIcon::Warning, box.icon);
        EXPECT_EQ(MessageButtons::Ok, box.buttons);
        EXPECT_TRUE(h.exit.codes.empty());

        ASSERT_EQ(kSuccess, SeedConnection(h.registry, "SYSTEM\\ControlSet001\\Control\\Network\\{A}\\{Y}", "Wi-Fi",
                                           "PCI\\NIC\\2"));
        h.list.SetChecked(0, true);
        h.form.comDelClick();
        EXPECT_EQ(2u, h.messages.shown.size()) << "the rescan tells it again";
    }
}

// The backups go into the folder Load was given.
TEST(Form1Events, LoadSetsAppFolderAndScanFillsTheList) {
    Form1Harness<> h;
    h.files.AddFolder("C:\\Tools\\");
    std::string path = "SYSTEM\\ControlSet002\\Control\\Network\\{A}\\{X}\\Connection";
    ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, path, "Name", kRegSz, std::string("Old VPN\0", 8)));

    h.form.Load("C:\\Tools");
    h.form.cmdReadClick();
    ASSERT_EQ(1, h.list.RowCount());
    EXPECT_EQ("Old VPN", h.list.RowSubItem(0));
    h.list.SetChecked(0, true);
    h.form.comDelClick();
    EXPECT_TRUE(h.files.Content("C:\\Tools\\SmallBackup.reg"));
    EXPECT_TRUE(h.messages.shown.empty());
}

}  // namespace
}  // namespace tarvex

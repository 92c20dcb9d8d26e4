#include "form1_harness.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

// A list control that refuses to empty itself.
class RefusingList final : public FakeConnectionList {
public:
    void EndUpdate() override {
        FakeConnectionList::EndUpdate();
        ++endUpdates;
    }
    void RemoveAllRows() override { throw AppError(1400, "Invalid window handle."); }
    int endUpdates = 0;
};

TEST(Form1Events, ScanFailureTakesTheUntrappedPathAndRestoresDrawing) {
    Form1Harness<RefusingList> h;

    h.form.cmdReadClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("Run-time error '1400':\n\nInvalid window handle.", h.messages.shown[0].text);
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, h.exit.codes);
    EXPECT_EQ(1, h.list.endUpdates);
}

TEST(Form1Events, LoadSetsAppFolderAndScanFillsTheList) {
    Form1Harness<> h;
    std::string path = "SYSTEM\\ControlSet002\\Control\\Network\\{A}\\{X}\\Connection";
    ASSERT_EQ(kSuccess, h.registry.SetValue(kLocalMachine, path, "Name", kRegSz, std::string("Old VPN\0", 8)));

    h.form.Load("C:\\Tools");
    h.form.cmdReadClick();
    EXPECT_EQ("C:\\Tools\\", h.form.AppFolder());
    ASSERT_EQ(1, h.list.RowCount());
    EXPECT_EQ("Old VPN", h.list.RowSubItem(0));
    EXPECT_TRUE(h.messages.shown.empty());
}

}  // namespace
}  // namespace tarvex

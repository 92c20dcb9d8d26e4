#include "app/form1.h"
#include "fake_connection_list.h"
#include "recording_platform.h"
#include "registry/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

class NoPump final : public EventPump {
public:
    void DoEvents() override {}
};

class FixedLayout final : public FormLayout {
public:
    bool IsMinimised() const override { return false; }
    float ClientWidth() const override { return 8385; }
    float ClientHeight() const override { return 6570; }
    float ListLeft() const override { return 120; }
    float ListTop() const override { return 840; }
    bool SetListWidth(float) override { return true; }
    bool SetListHeight(float) override { return true; }
};

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
    MemoryRegistry registry;
    RefusingList list;
    FixedLayout layout;
    NoPump pump;
    RecordingMessageBoxes messages;
    RecordingExit exit;
    Form1 form(registry, {list, layout, pump, messages, exit});

    form.cmdReadClick();
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ("Run-time error '1400':\n\nInvalid window handle.", messages.shown[0].text);
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, exit.codes);
    EXPECT_EQ(1, list.endUpdates);
}

TEST(Form1Events, LoadSetsAppFolderAndScanFillsTheList) {
    MemoryRegistry registry;
    std::string path = "SYSTEM\\ControlSet002\\Control\\Network\\{A}\\{X}\\Connection";
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, path));
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, path, "Name", kRegSz, std::string("Old VPN\0", 8)));
    FakeConnectionList list;
    FixedLayout layout;
    NoPump pump;
    RecordingMessageBoxes messages;
    RecordingExit exit;
    Form1 form(registry, {list, layout, pump, messages, exit});

    form.Load("C:\\Tools");
    form.cmdReadClick();
    EXPECT_EQ("C:\\Tools\\", form.AppFolder());
    ASSERT_EQ(1, list.RowCount());
    EXPECT_EQ("Old VPN", list.RowSubItem(0));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace tarvex

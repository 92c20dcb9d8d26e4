#include "form1_harness.h"
#include "window/table_copy.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct FieldCase {
    std::string text;
    int n;
    std::string field;
};

class GetFieldPieces : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GetFieldPieces, CountFromOneAndKeepEmptyPieces) {
    EXPECT_EQ(GetParam().field, GetField(GetParam().text, "\\", GetParam().n));
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, GetFieldPieces,
    ::testing::Values(FieldCase{"a\\bc\\d", 1, "a"}, FieldCase{"a\\bc\\d", 2, "bc"}, FieldCase{"a\\bc\\d", 3, "d"},
                      FieldCase{"a\\\\d", 2, ""}, FieldCase{"\\a", 1, ""}, FieldCase{"\\a", 2, "a"},
                      FieldCase{"whole", 1, "whole"}, FieldCase{"a\\b", 3, ""}, FieldCase{"a\\b", 0, ""},
                      FieldCase{"SYSTEM\\ControlSet002\\Control\\Network\\{A}\\{1}", 2, "ControlSet002"}));

TEST(GetFieldDelimiters, LongerDelimitersAreMatchedWhole) {
    EXPECT_EQ("b", GetField("a<>b<>c", "<>", 2));
    EXPECT_EQ("a<b", GetField("a<b<>c", "<>", 1));
}

class TableCopy : public ::testing::Test {
protected:
    void Row(const std::string& controlSet, const std::string& name) {
        h.list.AppendRow("SYSTEM\\" + controlSet + "\\Control\\Network\\{C}\\{1}", name);
    }
    Form1Harness<> h;
};

TEST_F(TableCopy, EmptyListLeavesTheClipboardAlone) {
    h.form.cmdCopyClick();
    EXPECT_TRUE(h.clipboard.texts.empty());
}

TEST_F(TableCopy, OneRowIsOneLineWithoutBreak) {
    Row("ControlSet002", "Old VPN");
    h.form.cmdCopyClick();
    EXPECT_EQ(std::vector<std::string>{"ControlSet002\tOld VPN"}, h.clipboard.texts);
}

TEST_F(TableCopy, RowsAreLinesInListOrderJoinedByCrLf) {
    Row("CurrentControlSet", "LAN");
    Row("ControlSet001", "");
    Row("CurrentControlSet", "LAN");
    h.list.SetChecked(1, true);
    h.form.cmdCopyClick();
    EXPECT_EQ(std::vector<std::string>{"CurrentControlSet\tLAN\r\nControlSet001\t\r\nCurrentControlSet\tLAN"},
              h.clipboard.texts);
}

class BusyClipboard final : public Clipboard {
public:
    void SetText(const std::string&) override { throw AppError(1418, "Thread does not have a clipboard open."); }
};

TEST(TableCopyFailure, ClipboardHeldElsewhereTakesTheUntrappedPath) {
    Form1Harness<> h;
    BusyClipboard busy;
    Form1 form{h.services, {h.list, h.layout, h.pump, h.messages, h.exit, h.checks, busy, h.closer}};
    h.list.AppendRow("SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{1}", "x");
    form.cmdCopyClick();
    ASSERT_EQ(1u, h.messages.shown.size());
    EXPECT_EQ("Run-time error '1418':\n\nThread does not have a clipboard open.", h.messages.shown[0].text);
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, h.exit.codes);
}

}  // namespace
}  // namespace tarvex

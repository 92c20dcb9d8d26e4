#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tarvex {

// The whole text of the list's cell at point (client coordinates) when its
// column is too narrow to show it; nothing over a cell shown whole, over
// the first column (whose cut labels the list view shows itself), or over
// no cell.
std::optional<std::wstring> CutCellText(HWND list, POINT point);

// A tip over the list that shows a cut cell of any column but the first
// whole: the list view's label tips, and LVN_GETINFOTIP, serve the first
// column only. The list's mouse messages reach the tip; it asks for its
// text each time it would show, and is taken down when the pointer moves
// to another cell.
class CellTips {
public:
    CellTips() = default;
    CellTips(const CellTips&) = delete;
    CellTips& operator=(const CellTips&) = delete;
    ~CellTips();

    void Attach(HWND owner, HWND list);
    // Answers the tip's request for its text; false for any other notification.
    bool Answer(NMHDR& header);

private:
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void PointerAt(POINT point);

    HWND tip_ = nullptr;
    HWND list_ = nullptr;
    WNDPROC listProc_ = nullptr;
    std::wstring text_;  // what the tip shows, kept until it asks again
    int row_ = -1;
    int column_ = -1;
};

}  // namespace tarvex

#pragma once

#include "app/connection_list.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tarvex {

// LV1 over the common-controls list view in report view with check boxes.
// Each row's lParam indexes its texts here, so sorting compares without
// asking the control for them.
class ListView final : public ConnectionList {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND hwnd() const { return hwnd_; }

    void BeginUpdate() override;
    void EndUpdate() override;
    void RemoveAllRows() override;
    void AppendRow(const AnsiText& text, const AnsiText& subItem) override;
    int RowCount() const override;
    AnsiText RowText(int row) const override;
    AnsiText RowSubItem(int row) const override;
    bool IsChecked(int row) const override;
    void SetChecked(int row, bool checked) override;
    bool IsSelected(int row) const override;
    void SetSorted(bool sorted) override;
    void SetSortColumn(int column) override { sortColumn_ = column; }
    SortDirection GetSortDirection() const override { return direction_; }
    void SetSortDirection(SortDirection direction) override { direction_ = direction; }
    void Redraw() override;

private:
    struct Row {
        AnsiText text;
        AnsiText subItem;
        std::wstring wideText;
        std::wstring wideSubItem;
    };

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    const Row& RowAt(int row) const;
    UINT ItemState(int row, UINT mask) const;
    void SortNowOrAfterUpdate();
    void Sort();
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM self);

    HWND hwnd_ = nullptr;
    std::vector<Row> rows_;
    int updateDepth_ = 0;
    bool sortPending_ = false;
    bool sorted_ = false;
    int sortColumn_ = 0;
    SortDirection direction_ = SortDirection::Ascending;
};

}  // namespace tarvex

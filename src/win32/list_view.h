#pragma once

#include "window/connection_list.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// Key, Connection, Adapter, Device, Last seen, IPv4.
inline constexpr int kColumnCount = 6;

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
    void AppendRow(const ConnectionRow& row) override;
    int RowCount() const override;
    AnsiText RowText(int row) const override;
    AnsiText RowSubItem(int row) const override;
    bool IsChecked(int row) const override;
    void SetChecked(int row, bool checked) override;
    bool IsSelected(int row) const override;
    void SelectAll();
    void SetSorted(bool sorted) override;
    // A column the list does not have sorts by the key.
    void SetSortColumn(int column) override { sortColumn_ = column >= 0 && column < kColumnCount ? column : 0; }
    SortDirection GetSortDirection() const override { return direction_; }
    void SetSortDirection(SortDirection direction) override { direction_ = direction; }
    void Redraw() override;

private:
    struct Row {
        AnsiText text;
        AnsiText subItem;
        std::wstring cells[kColumnCount];  // as shown, by column
        std::optional<FileTime> lastSeen;   // what the Last seen column sorts by
    };

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
    const Row& RowAt(int row) const;
    UINT ItemState(int row, UINT mask) const;
    void SetCell(int index, int column, std::wstring& text);
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

#pragma once

#include "support/key_names.h"
#include "window/connection_list.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// A list that keeps its rows like the list control does: sorted by one
// column, case-insensitively and stably, while sorting is on.
class FakeConnectionList : public ConnectionList {
public:
    struct Row {
        std::string text;
        std::string subItem;
        bool checked = false;
        bool selected = false;
        std::string adapter;
        std::string device;
        std::optional<FileTime> lastSeen;
        std::string ipv4;
    };

    void BeginUpdate() override { ++suspendDepth; }
    void EndUpdate() override { --suspendDepth; }
    void RemoveAllRows() override { rows.clear(); }
    void AppendRow(const ConnectionRow& row) override {
        if (suspendDepth == 0) ++rowsAddedWhileDrawing;
        rows.push_back({row.key, row.name, false, false, AdapterText(row.adapter), row.device, LastSeenShown(row),
                        Ipv4Text(row.ipv4)});
        if (sorted) Sort();
    }
    // A row as the scan would give it, for tests that fill the list by hand.
    void AppendRow(const std::string& text, const std::string& subItem) { AppendRow(ConnectionRow{text, subItem}); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string RowText(int row) const override { return rows.at(row).text; }
    std::string RowSubItem(int row) const override { return rows.at(row).subItem; }
    bool IsChecked(int row) const override { return rows.at(row).checked; }
    void SetChecked(int row, bool checked) override {
        if (suspendDepth == 0) ++marksSetWhileDrawing;
        rows.at(row).checked = checked;
    }
    bool IsSelected(int row) const override { return rows.at(row).selected; }
    void SetSorted(bool on) override {
        sorted = on;
        if (sorted) Sort();
    }
    void SetSortColumn(int column) override { sortColumn = column; }
    SortDirection GetSortDirection() const override { return direction; }
    void SetSortDirection(SortDirection newDirection) override { direction = newDirection; }
    void Redraw() override { ++redraws; }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Row& row : rows) texts.push_back(row.text);
        return texts;
    }

    std::vector<Row> rows;
    bool sorted = false;
    int sortColumn = 0;
    SortDirection direction = SortDirection::Ascending;
    int suspendDepth = 0;
    int rowsAddedWhileDrawing = 0;
    int marksSetWhileDrawing = 0;
    int redraws = 0;

private:
    void Sort() {
        auto key = [this](const Row& row) {
            // Last seen sorts by its date, below.
            const std::string* cells[] = {&row.text, &row.subItem, &row.adapter, &row.device, nullptr, &row.ipv4};
            return FoldCase(*cells[sortColumn]);
        };
        std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
            if (sortColumn == kLastSeenColumn) return CompareLastSeen(a.lastSeen, b.lastSeen, direction) < 0;
            return direction == SortDirection::Ascending ? key(a) < key(b) : key(b) < key(a);
        });
    }
};

}  // namespace tarvex

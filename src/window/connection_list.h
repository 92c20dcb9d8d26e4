#pragma once

#include "core/connection_row.h"
#include "util/encoded_text.h"

#include <optional>
#include <string>

namespace tarvex {

enum class SortDirection { Ascending = 0, Descending = 1 };

// The Last seen and IPv4 columns, counted from 0.
inline constexpr int kLastSeenColumn = 4;
inline constexpr int kIpv4Column = 5;

// The date the Last seen column shows: only a device that is not present has one.
inline std::optional<FileTime> LastSeenShown(const ConnectionRow& row) {
    if (row.adapter != AdapterState::NotPresent) return std::nullopt;
    return LastSeen(row, 0);
}

// Last seen sorts by the date, not its text: oldest first when ascending;
// rows without a date come last either way. Negative, 0 or positive.
inline int CompareLastSeen(const std::optional<FileTime>& a, const std::optional<FileTime>& b,
                           SortDirection direction) {
    if (!a || !b) return (a ? -1 : 0) + (b ? 1 : 0);
    const int order = *a < *b ? -1 : (*b < *a ? 1 : 0);
    return direction == SortDirection::Ascending ? order : -order;
}

// What the workflow needs of the list LV1: the columns Key, Connection,
// Adapter, Device, Last seen and IPv4. Rows are counted from 0 in the list's
// current order; texts are as the registry gives them.
class ConnectionList {
public:
    virtual ~ConnectionList() = default;

    // Drawing is suspended between these while many rows change.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;

    virtual void RemoveAllRows() = 0;
    // Appends an unticked row: its text is the key, its sub-items the name,
    // the adapter's state, the device, the date last seen and the IPv4 text.
    virtual void AppendRow(const ConnectionRow& row) = 0;

    virtual int RowCount() const = 0;
    virtual AnsiText RowText(int row) const = 0;
    virtual AnsiText RowSubItem(int row) const = 0;
    virtual bool IsChecked(int row) const = 0;
    virtual void SetChecked(int row, bool checked) = 0;
    virtual bool IsSelected(int row) const = 0;

    // While sorting is on the list keeps its rows ordered by the sort column
    // (0 the key, 1 the name, 2 the adapter, 3 the device, 4 the date last
    // seen, 5 the IPv4 text) in the sort direction.
    virtual void SetSorted(bool sorted) = 0;
    virtual void SetSortColumn(int column) = 0;
    virtual SortDirection GetSortDirection() const = 0;
    virtual void SetSortDirection(SortDirection direction) = 0;
    virtual void Redraw() = 0;
};

// Keeps drawing suspended until End, or to the end of the scope when an
// exception leaves it first. End may fail like any list operation; the
// destructor must not throw, so on the way out a second failure is dropped
// and the first one goes on to the error box.
class SuspendedDrawing {
public:
    explicit SuspendedDrawing(ConnectionList& list) : list_(list) { list_.BeginUpdate(); }
    SuspendedDrawing(const SuspendedDrawing&) = delete;
    SuspendedDrawing& operator=(const SuspendedDrawing&) = delete;
    ~SuspendedDrawing() {
        if (ended_) return;
        try {
            list_.EndUpdate();
        } catch (...) {
        }
    }

    void End() {
        ended_ = true;
        list_.EndUpdate();
    }

private:
    ConnectionList& list_;
    bool ended_ = false;
};

}  // namespace tarvex

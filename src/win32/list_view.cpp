#include "win32/list_view.h"

#include "win32/local_dates.h"
#include "win32/platform_error.h"
#include "win32/wide_text.h"

#include <commctrl.h>

namespace tarvex {

namespace {

constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;

}  // namespace

LRESULT ListView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    // A failed send leaves its reason here; an older one must not show through.
    SetLastError(ERROR_SUCCESS);
    return SendMessageW(hwnd_, message, wParam, lParam);
}

void ListView::BeginUpdate() {
    if (updateDepth_++ == 0) Send(WM_SETREDRAW, FALSE, 0);
}

void ListView::EndUpdate() {
    if (--updateDepth_ != 0) return;
    if (sortPending_) Sort();
    Send(WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::RemoveAllRows() {
    if (!Send(LVM_DELETEALLITEMS, 0, 0)) ThrowWindowFailure("The list control could not remove its rows");
    rows_.clear();
}

void ListView::AppendRow(const ConnectionRow& connection) {
    const std::optional<FileTime> lastSeen = LastSeenShown(connection);
    rows_.push_back({connection.key,
                     connection.name,
                     {AnsiToWide(connection.key), AnsiToWide(connection.name), Utf8ToWide(AdapterText(connection.adapter)),
                      Utf8ToWide(connection.device), lastSeen ? ShortDate(*lastSeen) : std::wstring(),
                      Utf8ToWide(Ipv4Text(connection.ipv4))},
                     lastSeen});
    Row& row = rows_.back();

    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount();
    item.pszText = row.cells[0].data();
    item.lParam = static_cast<LPARAM>(rows_.size() - 1);
    auto index = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        rows_.pop_back();
        ThrowWindowFailure("The list control could not add a row");
    }
    for (int column = 1; column < kColumnCount; ++column) SetCell(index, column, row.cells[column]);

    if (sorted_) SortNowOrAfterUpdate();
}

void ListView::SetCell(int index, int column, std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text.data();
    if (!Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell))) {
        ThrowWindowFailure("The list control could not set a row's cell");
    }
}

int ListView::RowCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }

const ListView::Row& ListView::RowAt(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) ThrowWindowFailure("The list control could not read a row");
    return rows_.at(static_cast<std::size_t>(item.lParam));
}

std::string ListView::RowText(int row) const { return RowAt(row).text; }
std::string ListView::RowSubItem(int row) const { return RowAt(row).subItem; }

UINT ListView::ItemState(int row, UINT mask) const {
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
}

bool ListView::IsChecked(int row) const { return (ItemState(row, LVIS_STATEIMAGEMASK) >> 12) == kCheckedImage; }

bool ListView::IsSelected(int row) const { return ItemState(row, LVIS_SELECTED) != 0; }

void ListView::SelectAll() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    // Drawn once, not a row at a time.
    SuspendedDrawing quiet(*this);
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    quiet.End();
}

void ListView::SetChecked(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage);
    if (!Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))) {
        ThrowWindowFailure("The list control could not set a check mark");
    }
}

void ListView::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) SortNowOrAfterUpdate();
}

void ListView::SortNowOrAfterUpdate() {
    // One sort when a fill ends, not one per row.
    if (updateDepth_ > 0) {
        sortPending_ = true;
    } else {
        Sort();
    }
}

void ListView::Redraw() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void ListView::Sort() {
    sortPending_ = false;
    if (!Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareRows))) {
        ThrowWindowFailure("The list control could not sort its rows");
    }
}

int CALLBACK ListView::CompareRows(LPARAM first, LPARAM second, LPARAM self) {
    const auto& list = *reinterpret_cast<const ListView*>(self);
    const Row& a = list.rows_[static_cast<std::size_t>(first)];
    const Row& b = list.rows_[static_cast<std::size_t>(second)];
    int order = 0;
    if (list.sortColumn_ == kLastSeenColumn) {
        order = CompareLastSeen(a.lastSeen, b.lastSeen, list.direction_);
    } else {
        const std::wstring& keyA = a.cells[list.sortColumn_];
        const std::wstring& keyB = b.cells[list.sortColumn_];
        order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, keyA.c_str(), static_cast<int>(keyA.size()),
                               keyB.c_str(), static_cast<int>(keyB.size())) -
                CSTR_EQUAL;
        if (list.direction_ == SortDirection::Descending) order = -order;
    }
    // Equal texts keep the order in which they were added.
    if (order == 0) order = first < second ? -1 : (first > second ? 1 : 0);
    return order;
}

}  // namespace tarvex

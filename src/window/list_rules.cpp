#include "window/list_rules.h"

#include <optional>

namespace tarvex {

void FitList(FormLayout& layout) {
    if (layout.IsMinimised()) return;
    // Each step stands alone: a size the list refuses leaves that dimension as it was.
    layout.SetListWidth(layout.ClientWidth() - 2 * layout.ListLeft());
    layout.SetListHeight(layout.ClientHeight() - layout.ListTop() - layout.ListLeft());
}

void SortByColumn(ConnectionList& list, EventPump& pump, int clickedColumn) {
    list.SetSorted(false);
    list.SetSortDirection(list.GetSortDirection() == SortDirection::Ascending ? SortDirection::Descending
                                                                              : SortDirection::Ascending);
    list.SetSortColumn(clickedColumn - 1);
    list.SetSorted(true);
    list.Redraw();
    pump.DoEvents();
}

void ToggleSelectedMarks(ConnectionList& list, int button) {
    if (button != kRightButton) return;
    // Drawn once when every mark is set, not once a row.
    SuspendedDrawing quiet(list);
    const int rowCount = list.RowCount();
    std::optional<bool> reference;
    for (int row = 0; row < rowCount; ++row) {
        if (!list.IsSelected(row)) continue;
        if (!reference) reference = list.IsChecked(row);
        list.SetChecked(row, !*reference);
    }
    quiet.End();
}

}  // namespace tarvex

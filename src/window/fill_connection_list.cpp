#include "window/fill_connection_list.h"

#include "core/connection_scan.h"

namespace tarvex {

void FillConnectionList(const Services& services, ConnectionList& list, MessageBoxes& messages) {
    SuspendedDrawing quiet(list);
    list.RemoveAllRows();
    const ConnectionScan scan = ScanConnectionRows(services, RowReads::Columns);
    for (const ConnectionRow& row : scan.rows) list.AppendRow(row);
    quiet.End();
    // Empty cells would read as "names no adapter"; the user must know they mean nothing here.
    if (scan.deviceError) {
        messages.Show(kDevicesNotListedText + FailureText(*scan.deviceError) + kDeviceCellsEmptyText,
                      MessageIcon::Warning, MessageButtons::Ok);
    }
}

}  // namespace tarvex

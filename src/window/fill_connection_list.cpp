#include "window/fill_connection_list.h"

#include "core/connection_scan.h"

namespace tarvex {

void FillConnectionList(const Services& services, ConnectionList& list) {
    SuspendedDrawing quiet(list);
    list.RemoveAllRows();
    for (const ConnectionRow& row : ScanConnectionRows(services, RowReads::Adapters).rows) list.AppendRow(row);
    quiet.End();
}

}  // namespace tarvex

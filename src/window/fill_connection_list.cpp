#include "window/fill_connection_list.h"

#include "core/connection_scan.h"

namespace tarvex {

void FillConnectionList(RegistryApi& registry, DeviceQuery& devices, ConnectionList& list) {
    SuspendedDrawing quiet(list);
    list.RemoveAllRows();
    for (const ConnectionRow& row : ScanConnectionRows(registry, {&devices}).rows) list.AppendRow(row);
    quiet.End();
}

}  // namespace tarvex

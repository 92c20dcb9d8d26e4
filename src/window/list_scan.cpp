#include "window/list_scan.h"

#include "core/connection_scan.h"

namespace tarvex {

void ScanConnections(RegistryApi& registry, DeviceQuery& devices, ConnectionList& list) {
    SuspendedDrawing quiet(list);
    list.RemoveAllRows();
    for (const ConnectionRow& row : ScanConnectionRows(registry, {&devices}).rows) list.AppendRow(row);
    quiet.End();
}

}  // namespace tarvex

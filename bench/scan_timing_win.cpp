// Times the scan under the real registry with 100 seeded network devices,
// without the Adapter column and with it (one more query a row and one pair
// of SetupAPI queries): the registry calls alone, and pressing Check in a
// hidden main window. Seeds HKLM, so run it only in a throw-away wine prefix.
#include "bench_registry.h"
#include "median_time.h"
#include "support/assembled_window.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"

#include <windows.h>

#include <cstdio>

int main() {
    tarvex::Win32Services win;
    tarvex::Win32Registry& registry = win.registry;
    tarvex::Win32RegistryWriter writer;
    tarvex::SetupApiDevices& devices = win.devices;
    tarvex::RecordingExit exit;
    for (int i = 0; i < 100; ++i) {
        tarvex::SeedNetworkDevice(writer, tarvex::SeededInstanceId(i), "Intel(R) PRO/1000 MT", "");
    }
    std::printf("the two SetupAPI queries over 100 devices: present %.0f ms, known %.0f ms\n",
                tarvex::MedianMilliseconds([&] { devices.PresentDevices(); }),
                tarvex::MedianMilliseconds([&] { devices.KnownDevices(); }));
    int seeded = 0;
    for (int perPath : {2500, 5000}) {
        tarvex::SeedConnections(writer, perPath);  // adds to what an earlier round seeded
        seeded = perPath;
        std::size_t rows = 0;
        auto [namesMs, adaptersMs] = tarvex::MedianMillisecondsInTurns(
            [&] { rows = tarvex::ScanConnectionRows(win.services, tarvex::RowReads::NamesOnly).rows.size(); },
            [&] { tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Adapters); });
        tarvex::AssembledWindow assembled(registry, registry, exit);
        assembled.window.Create();
        // What pressing Check costs, with the column and as it was without it.
        auto [listNamesMs, listAdaptersMs] = tarvex::MedianMillisecondsInTurns(
            [&] {
                tarvex::ConnectionList& list = assembled.controls.list;
                tarvex::SuspendedDrawing quiet(list);
                list.RemoveAllRows();
                for (const tarvex::ConnectionRow& row : tarvex::ScanConnectionRows(win.services, tarvex::RowReads::NamesOnly).rows) list.AppendRow(row);
                quiet.End();
            },
            [&] { assembled.form.cmdReadClick(); });
        std::printf("%zu rows: registry calls: names only %.0f ms, with the Adapter column %.0f ms (%.2fx); "
                    "pressing Check: without %.0f ms, with %.0f ms (%.2fx)\n",
                    rows, namesMs, adaptersMs, adaptersMs / namesMs, listNamesMs, listAdaptersMs,
                    listAdaptersMs / listNamesMs);
    }
    return seeded > 0 ? 0 : 1;
}

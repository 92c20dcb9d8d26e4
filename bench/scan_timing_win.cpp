// Times the scan under the real registry with 100 seeded network devices:
// the rows without the Adapter column, the rows with it (one pair of
// SetupAPI queries), and the full scan into the real list view of a hidden
// main window. Seeds HKLM, so run it only in a throw-away wine prefix.
#include "bench_registry.h"
#include "median_time.h"
#include "platform/main_window.h"
#include "platform/setupapi_devices.h"
#include "registry/win32_registry.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/win32_registry_writer.h"

#include <windows.h>

#include <cstdio>

int main() {
    tarvex::Win32Registry registry;
    tarvex::Win32RegistryWriter writer;
    tarvex::SetupApiDevices devices;
    tarvex::RecordingExit exit;
    for (int i = 0; i < 100; ++i) {
        tarvex::SeedNetworkDevice(writer, tarvex::SeededInstanceId(i), "Intel(R) PRO/1000 MT", "");
    }
    int seeded = 0;
    for (int perPath : {2500, 5000}) {
        tarvex::SeedConnections(writer, perPath);  // adds to what an earlier round seeded
        seeded = perPath;
        std::size_t rows = 0;
        double namesMs = tarvex::MedianMilliseconds([&] { rows = tarvex::ScanConnectionRows(registry, nullptr).size(); });
        double adaptersMs = tarvex::MedianMilliseconds([&] { tarvex::ScanConnectionRows(registry, &devices); });
        tarvex::MainWindow window(GetModuleHandleW(nullptr), registry, exit);
        window.Create();
        double fullMs = tarvex::MedianMilliseconds([&] { window.form().cmdReadClick(); });
        std::printf("%zu rows: names only %.0f ms, with the Adapter column %.0f ms (%.2fx), into the list view %.0f ms\n",
                    rows, namesMs, adaptersMs, adaptersMs / namesMs, fullMs);
    }
    return seeded > 0 ? 0 : 1;
}

// Times the scan under the real registry: the registry calls alone, and the
// full scan into the real list view of a hidden main window. Seeds HKLM, so
// run it only in a throw-away wine prefix.
#include "bench_registry.h"
#include "median_time.h"
#include "platform/control_layout.h"
#include "platform/main_window.h"
#include "registry/win32_registry.h"
#include "support/fake_platform.h"
#include "support/win32_registry_writer.h"

#include <windows.h>

#include <cstdio>
#include <vector>

int main() {
    tarvex::Win32Registry registry;
    tarvex::Win32RegistryWriter writer;
    tarvex::RecordingExit exit;
    int seeded = 0;
    for (int perPath : {2500, 5000}) {
        tarvex::SeedConnections(writer, perPath);  // adds to what an earlier round seeded
        seeded = perPath;
        tarvex::NullList bare;
        double bareMs = tarvex::MedianMilliseconds([&] { tarvex::ScanConnections(registry, bare); });

        tarvex::MainWindow window(GetModuleHandleW(nullptr), registry, exit);
        window.Create();
        double fullMs = tarvex::MedianMilliseconds([&] { window.form().cmdReadClick(); });
        std::printf("%d rows: registry calls %.0f ms, scan into list view %.0f ms (%.2fx)\n", window.LV1().RowCount(),
                    bareMs, fullMs, fullMs / bareMs);
    }
    return seeded > 0 ? 0 : 1;
}

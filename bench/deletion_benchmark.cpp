// Deleting ticked rows with the selective backup, SmallBackup.reg empty or
// already holding many earlier backups: the header decision must not grow
// with the file.
#include "bench_registry.h"
#include "core/connection_deletion.h"
#include "support/fake_devices.h"
#include "support/fake_platform.h"
#include "support/fixed_clock.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"
#include "support/test_services.h"
#include "window/deletion.h"
#include "window/fill_connection_list.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tarvex {
namespace {

constexpr int kRows = 200;
constexpr char kFolder[] = "C:\\Tarvex\\";

void DeleteWithSelectiveBackup(benchmark::State& state) {
    const std::string earlier = "REGEDIT4\r\n\r\n" + std::string(static_cast<std::size_t>(state.range(0)) << 20, ';');
    TickedList list;
    FakeChecks checks;
    RecordingMessageBoxes messages;
    CountingPump pump;
    FakeDevices devices;
    for (auto _ : state) {
        state.PauseTiming();
        // The big copy first, so that it does not push the registry out of the caches.
        MemoryRegistry registry;
        TestServices test(registry, devices);
        test.files.AddFolder(kFolder);
        test.files.SetContent(std::string(kFolder) + kSmallBackupFile, earlier);
        SeedConnections(registry, kRows / 4);
        FillConnectionList(test.services, list, messages);
        state.ResumeTiming();

        DeleteTickedConnections(test.services, {list, checks, messages, pump}, kFolder);
    }
    state.counters["rows"] = kRows;
}

BENCHMARK(DeleteWithSelectiveBackup)->ArgName("earlierMB")->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();

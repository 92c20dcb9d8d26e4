#include "bench_registry.h"
#include "support/fake_devices.h"
#include "support/memory_registry.h"
#include "support/test_services.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tarvex {
namespace {

constexpr int kDevices = 100;

// The scan's rows without the Adapter column (0) and with it (1), over 100 devices.
void ScanMemoryRegistry(benchmark::State& state) {
    MemoryRegistry registry;
    SeedConnections(registry, static_cast<int>(state.range(0)));
    FakeDevices devices;
    for (int i = 0; i < kDevices; ++i) devices.present.push_back({SeededInstanceId(i), "Adapter"});
    TestServices test(registry, devices);
    const RowReads reads = state.range(1) ? RowReads::Adapters : RowReads::NamesOnly;
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = ScanConnectionRows(test.services, reads).rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(ScanMemoryRegistry)->ArgNames({"perPath", "adapters"})->ArgsProduct({{2500}, {0, 1}})->Unit(
    benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();

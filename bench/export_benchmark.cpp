#include "bench_registry.h"
#include "export/mod_export.h"
#include "support/fake_platform.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"

#include <benchmark/benchmark.h>

namespace tarvex {
namespace {

constexpr char kBase[] = "SYSTEM\\ExportBench";
constexpr char kFile[] = "C:\\Tarvex\\LargeBackup.reg";

void ExportTree(benchmark::State& state) {
    MemoryRegistry registry;
    SeedExportTree(registry, kLocalMachine, kBase, static_cast<int>(state.range(0)));
    MemoryFiles files;
    files.AddFolder("C:\\Tarvex\\");
    RecordingPointer pointer;
    ExportPlatform platform{registry, files, &pointer};
    for (auto _ : state) ExportKey(platform, kLocalMachine, kBase, kFile, true, false);
    state.counters["bytes"] = static_cast<double>(files.Content(kFile)->size());
}

BENCHMARK(ExportTree)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();

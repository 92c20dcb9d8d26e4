#include "bench_registry.h"
#include "support/memory_registry.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tarvex {
namespace {

// A list that stores its rows, as a real one does.
class VectorList final : public NullList {
public:
    void RemoveAllRows() override { rows.clear(); }
    void AppendRow(const std::string& text, const std::string& subItem) override { rows.emplace_back(text, subItem); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::vector<std::pair<std::string, std::string>> rows;
};

template <typename List>
void ScanMemoryRegistry(benchmark::State& state) {
    MemoryRegistry registry;
    SeedConnections(registry, static_cast<int>(state.range(0)));
    List list;
    for (auto _ : state) {
        ScanConnections(registry, list);
        benchmark::DoNotOptimize(list.RowCount());
    }
    state.counters["rows"] = list.RowCount();
}

BENCHMARK(ScanMemoryRegistry<NullList>)->Name("RegistryCallsOnly")->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ScanMemoryRegistry<VectorList>)->Name("ScanIntoList")->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();

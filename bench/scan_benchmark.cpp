#include "bench_registry.h"
#include "registry/memory_registry.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tarvex {
namespace {

// A list that stores its rows, as a real one does.
class VectorList final : public ConnectionList {
public:
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void RemoveAllRows() override { rows.clear(); }
    void AppendRow(const std::string& text, const std::string& subItem) override { rows.emplace_back(text, subItem); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string RowText(int row) const override { return rows[row].first; }
    std::string RowSubItem(int row) const override { return rows[row].second; }
    bool IsChecked(int) const override { return false; }
    void SetChecked(int, bool) override {}
    bool IsSelected(int) const override { return false; }
    void SetSorted(bool) override {}
    void SetSortColumn(int) override {}
    SortDirection GetSortDirection() const override { return SortDirection::Ascending; }
    void SetSortDirection(SortDirection) override {}
    void Redraw() override {}
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

// Deleting ticked rows with the selective backup, SmallBackup.reg empty or
// already holding many earlier backups: the header decision must not grow
// with the file.
#include "app/deletion.h"
#include "bench_registry.h"
#include "export/memory_files.h"
#include "registry/memory_registry.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tarvex {
namespace {

constexpr int kRows = 200;
constexpr char kFolder[] = "C:\\Tarvex\\";

// Every row ticked, as after selecting all and a right-button release.
class TickedList final : public NullList {
public:
    void RemoveAllRows() override { texts.clear(); }
    void AppendRow(const std::string& text, const std::string&) override { texts.push_back(text); }
    int RowCount() const override { return static_cast<int>(texts.size()); }
    std::string RowText(int row) const override { return texts[static_cast<std::size_t>(row)]; }
    bool IsChecked(int) const override { return true; }
    std::vector<std::string> texts;
};

class OnlySelective final : public BackupChoices {
public:
    bool chkBackup() const override { return false; }
    bool chkSelective() const override { return true; }
};

class AnswerYes final : public MessageBoxes {
public:
    MessageAnswer Show(const std::string&, MessageIcon, MessageButtons) override { return MessageAnswer::Yes; }
};

class NoEvents final : public EventPump {
public:
    void DoEvents() override {}
};

class StillPointer final : public MousePointer {
public:
    int Current() const override { return kDefaultPointer; }
    void Set(int) override {}
};

void DeleteWithSelectiveBackup(benchmark::State& state) {
    const std::string earlier = "REGEDIT4\r\n\r\n" + std::string(static_cast<std::size_t>(state.range(0)) << 20, ';');
    MemoryFiles files;
    files.AddFolder(kFolder);
    StillPointer pointer;
    TickedList list;
    OnlySelective checks;
    AnswerYes messages;
    NoEvents pump;
    for (auto _ : state) {
        state.PauseTiming();
        // The big copy first, so that it does not push the registry out of the caches.
        files.SetContent(std::string(kFolder) + kSmallBackupFile, earlier);
        MemoryRegistry registry;
        SeedConnections(registry, kRows / 4);
        ScanConnections(registry, list);
        ExportPlatform backup{registry, files, pointer};
        state.ResumeTiming();

        DeleteTickedConnections({backup, list, checks, messages, pump}, kFolder);
    }
    state.counters["rows"] = kRows;
}

BENCHMARK(DeleteWithSelectiveBackup)->ArgName("earlierMB")->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex

BENCHMARK_MAIN();

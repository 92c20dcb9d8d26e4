// Times a recursive export of a seeded tree under the real registry beside
// wine's own "reg export" of the same tree. Seeds HKCU, so run it only in a
// throw-away wine prefix.
#include "bench_registry.h"
#include "export/mod_export.h"
#include "median_time.h"
#include "support/run_program.h"
#include "support/win32_registry_writer.h"
#include "win32/wide_text.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_mouse_pointer.h"
#include "win32/win32_registry.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr char kBase[] = "Software\\TarvexExportBench";

}  // namespace

int main() {
    tarvex::Win32Registry registry;
    tarvex::Win32RegistryWriter writer;
    tarvex::Win32BackupFiles files;
    tarvex::Win32MousePointer pointer;
    tarvex::ExportPlatform platform{registry, files, &pointer};
    const std::wstring ours = tarvex::TempFilePath(L"tarvex-bench.reg");
    const std::wstring theirs = tarvex::TempFilePath(L"reg-export-bench.reg");

    registry.SHDeleteKeyA(tarvex::kCurrentUser, kBase);
    for (int keys : {10000, 20000}) {
        tarvex::SeedExportTree(writer, tarvex::kCurrentUser, kBase, keys);  // the second round adds to the first
        // In turns, so that a slow spell of this noisy machine falls on both.
        auto [exportMs, regMs] = tarvex::MedianMillisecondsInTurns(
            [&] { tarvex::ExportKey(platform, tarvex::kCurrentUser, kBase, tarvex::WideToUtf8(ours), true, false); },
            [&] { tarvex::RunProgram(L"reg.exe export HKCU\\" + tarvex::AnsiToWide(kBase) + L" \"" + theirs + L"\" /y"); },
            5);
        std::printf("%d keys: ExportKey %.0f ms, reg export %.0f ms: export ratio %.2fx\n", keys, exportMs, regMs,
                    exportMs / regMs);
    }
    registry.SHDeleteKeyA(tarvex::kCurrentUser, kBase);
    return 0;
}

// Times tarvex.exe against the window over the same 10,000 connection rows,
// every one stale: "tarvex list" against pressing Check, and "tarvex delete
// --stale" against the window's deletion of all rows, both with the
// selective backup. Seeds HKLM, so run it only in a throw-away wine prefix.
#include "bench_registry.h"
#include "median_time.h"
#include "support/assembled_window.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"
#include "win32/wide_text.h"
#include "window/deletion.h"
#include "window/fill_connection_list.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kPerPath = 2500;

double Milliseconds(const std::function<void()>& run) {
    auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: console_timing_win TARVEX_EXE\n", stderr);
        return 2;
    }
    const std::wstring program = tarvex::AnsiToWide(argv[1]);
    const std::wstring output = tarvex::TempFilePath(L"tarvex-timing-output.txt");
    tarvex::Win32Services win;
    tarvex::Win32RegistryWriter writer;
    tarvex::RecordingExit exit;
    for (int i = 0; i < 100; ++i) tarvex::SeedNetworkDevice(writer, "TIMING\\NIC\\" + std::to_string(i), "NIC", "");
    tarvex::SeedConnections(writer, kPerPath);  // their adapters are not among the devices: all stale

    tarvex::AssembledWindow assembled(win.registry, win.registry, exit);
    assembled.window.Create();
    auto [windowMs, listMs] = tarvex::MedianMillisecondsInTurns(
        [&] { assembled.form.cmdReadClick(); },
        [&] { tarvex::RunProgramWithOutputIn(L"\"" + program + L"\" list", output, output); });
    std::printf("%d rows: pressing Check %.0f ms, tarvex list %.0f ms (%.2fx)\n", assembled.controls.list.RowCount(),
                windowMs, listMs, listMs / windowMs);

    // Each deletion empties the registry it is timed on; seeded anew between turns.
    tarvex::TickedList list;
    tarvex::FakeChecks checks;  // the selective backup, as tarvex delete's default
    tarvex::RecordingMessageBoxes messages;
    tarvex::CountingPump pump;
    const std::string folder = tarvex::WideToUtf8(tarvex::TempFilePath(L""));
    const std::wstring programFolder = program.substr(0, program.find_last_of(L'\\') + 1);
    std::vector<double> windowTimes, consoleTimes;
    for (int turn = 0; turn < 3; ++turn) {
        tarvex::SeedConnections(writer, kPerPath);
        tarvex::FillConnectionList(win.services, list, messages);
        windowTimes.push_back(Milliseconds([&] {
            tarvex::DeleteTickedConnections(win.services, {list, checks, messages, pump}, folder);
        }));
        tarvex::SeedConnections(writer, kPerPath);
        long exitCode = -1;
        consoleTimes.push_back(Milliseconds([&] {
            // No backslash before the closing quote: it would escape the quote.
            exitCode = tarvex::RunProgramWithOutputIn(L"\"" + program + L"\" delete --stale --backup-dir \"" +
                                                          tarvex::Utf8ToWide(folder.substr(0, folder.size() - 1)) + L"\"",
                                                      output, output);
        }));
        if (exitCode != 0) {
            std::printf("tarvex delete --stale exited with %ld\n", exitCode);
            return 1;
        }
        DeleteFileW((tarvex::Utf8ToWide(folder) + L"SmallBackup.reg").c_str());
    }
    std::sort(windowTimes.begin(), windowTimes.end());
    std::sort(consoleTimes.begin(), consoleTimes.end());
    std::printf("%d rows deleted with the selective backup: window %.0f ms, tarvex delete --stale %.0f ms (%.2fx), "
                "medians of 3\n",
                4 * kPerPath, windowTimes[1], consoleTimes[1], consoleTimes[1] / windowTimes[1]);
    DeleteFileW(output.c_str());
    return 0;
}

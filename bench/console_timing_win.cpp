// Times tarvex.exe against the window over the same 10,000 connection rows,
// every one stale: "tarvex list" against pressing Check, and "tarvex delete
// --stale" against pressing Check and deleting all rows, both with the
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
#include <vector>

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
    // The console scans before it deletes; in the window the user pressed
    // Check first. Each side is timed from nothing known to every row deleted,
    // and the window's Delete Selected alone beside it.
    std::vector<double> windowTimes, deleteSelectedTimes, consoleTimes;
    auto windowTurn = [&] {
        tarvex::SeedConnections(writer, kPerPath);
        double deleteSelectedMs = 0;
        windowTimes.push_back(Milliseconds([&] {
            tarvex::FillConnectionList(win.services, list, messages);
            deleteSelectedMs = Milliseconds([&] {
                tarvex::DeleteTickedConnections(win.services, {list, checks, messages, pump}, folder);
            });
        }));
        deleteSelectedTimes.push_back(deleteSelectedMs);
        DeleteFileW((tarvex::Utf8ToWide(folder) + L"SmallBackup.reg").c_str());
    };
    long exitCode = 0;
    auto consoleTurn = [&] {
        tarvex::SeedConnections(writer, kPerPath);
        consoleTimes.push_back(Milliseconds([&] {
            // No backslash before the closing quote: it would escape the quote.
            exitCode = tarvex::RunProgramWithOutputIn(L"\"" + program + L"\" delete --stale --backup-dir \"" +
                                                          tarvex::Utf8ToWide(folder.substr(0, folder.size() - 1)) + L"\"",
                                                      output, output);
        }));
        DeleteFileW((tarvex::Utf8ToWide(folder) + L"SmallBackup.reg").c_str());
    };
    // Each side goes first in every other turn: what one run leaves behind
    // (the server saving the changed registry, the disk's journal) then falls
    // on both alike.
    for (int turn = 0; turn < 4 && exitCode == 0; ++turn) {
        if (turn % 2 == 0) {
            windowTurn();
            consoleTurn();
        } else {
            consoleTurn();
            windowTurn();
        }
    }
    if (exitCode != 0) {
        std::printf("tarvex delete --stale exited with %ld\n", exitCode);
        return 1;
    }
    const double windowDeletionMs = tarvex::Median(windowTimes);
    const double consoleDeletionMs = tarvex::Median(consoleTimes);
    std::printf("%d rows deleted with the selective backup: the window's Check and Delete Selected %.0f ms (Delete "
                "Selected alone %.0f ms), tarvex delete --stale %.0f ms (%.2fx), medians of 4\n",
                4 * kPerPath, windowDeletionMs, tarvex::Median(deleteSelectedTimes), consoleDeletionMs,
                consoleDeletionMs / windowDeletionMs);
    DeleteFileW(output.c_str());
    return 0;
}

// Runs one operation between two marker keys, for counting the wineserver
// requests it makes (WINEDEBUG=+server): the window's deletion of 200 rows
// (Check pressed, every row ticked, Delete Selected pressed and its rescan,
// with a marker after each step), the console's deletion of the same rows,
// or the window's scan of 200 rows (half with IP settings) without the IPv4
// column and then with it. The defaults: the selective backup, nothing else
// ticked. Seeds HKLM, so run it only in a throw-away wine prefix.
#include "bench_registry.h"
#include "console/console_program.h"
#include "support/assembled_window.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"
#include "win32/control_layout.h"
#include "win32/program_folder.h"
#include "win32/wide_text.h"
#include "win32/win32_console_output.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRows = 200;

// An open of a key that is not there: its request names it in the server's trace.
void TraceMarker(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Ctrl+A as the list hears it: the key with Ctrl held.
void PressCtrlA(HWND list) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, 'A', 0);
    keys[VK_CONTROL] = before;
    SetKeyboardState(keys);
}

// From the shown window to the end of the rescan; opening the window is
// counted apart, as it costs the same whatever the rows.
int TraceWindow(tarvex::Win32Services& win) {
    tarvex::RecordingExit exit;
    tarvex::AssembledWindow assembled(win.registry, win.registry, exit);
    tarvex::MainWindow& window = assembled.window;
    TraceMarker(L"TarvexTraceOpening");
    window.Create();
    window.Show(SW_SHOWNORMAL);
    Pump();
    TraceMarker(L"TarvexTraceStart");
    SendMessageW(window.Control(tarvex::kCmdReadId), BM_CLICK, 0, 0);
    Pump();
    TraceMarker(L"TarvexTraceChecked");
    // As a user ticks every row: Ctrl+A, then the right button released over the list.
    PressCtrlA(window.Control(tarvex::kLV1Id));
    assembled.form.LV1MouseUp(tarvex::kRightButton);
    Pump();
    TraceMarker(L"TarvexTraceTicked");
    SendMessageW(window.Control(tarvex::kComDelId), BM_CLICK, 0, 0);
    Pump();
    TraceMarker(L"TarvexTraceEnd");
    if (assembled.controls.list.RowCount() != 0 || !exit.codes.empty()) std::fputs("the rows were not all deleted\n", stderr);
    DestroyWindow(window.hwnd());
    Pump();
    DeleteFileW((tarvex::Utf8ToWide(tarvex::ExecutableFolder()) + L"\\SmallBackup.reg").c_str());
    return 0;
}

int TraceConsole(tarvex::Win32Services& win) {
    const std::wstring folder = tarvex::TempFilePath(L"");
    tarvex::Win32ConsoleOutput output;
    TraceMarker(L"TarvexTraceStart");
    const int code = tarvex::RunConsole({"delete", "--stale", "--backup-dir", tarvex::WideToUtf8(folder)}, win.services,
                                        output, tarvex::ExecutableFolder());
    TraceMarker(L"TarvexTraceEnd");
    DeleteFileW((folder + L"SmallBackup.reg").c_str());
    return code;
}

int TraceScans(tarvex::Win32Services& win, tarvex::Win32RegistryWriter& writer) {
    tarvex::SeedIpSettingsOfHalf(writer, kRows / 4);
    tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Columns);
    TraceMarker(L"TarvexTraceStart");
    tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Adapters);
    TraceMarker(L"TarvexTraceMiddle");
    tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Columns);
    TraceMarker(L"TarvexTraceEnd");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    tarvex::Win32Services win;
    tarvex::Win32RegistryWriter writer;
    tarvex::SeedWanMiniport(writer);
    tarvex::SeedConnections(writer, kRows / 4);  // their adapters are not among the devices: all stale
    if (what == "window") return TraceWindow(win);
    if (what == "console") return TraceConsole(win);
    if (what == "scans") return TraceScans(win, writer);
    std::fputs("usage: request_trace_win window|console|scans\n", stderr);
    return 2;
}

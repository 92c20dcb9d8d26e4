#include "win32/exit_process_now.h"
#include "win32/main_window.h"
#include "win32/message_box.h"
#include "win32/setupapi_devices.h"
#include "win32/setupapi_installer.h"
#include "win32/system_dlls.h"
#include "win32/win32_ansi_codec.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_event_log.h"
#include "win32/win32_registry.h"
#include "window/form1.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    tarvex::RestrictDllSearchToSystem32();

    tarvex::Win32Registry registry;
    tarvex::ExitProcessNow exit;
    tarvex::Win32BackupFiles files;
    tarvex::SetupApiDevices devices;
    tarvex::MainWindow window(instance);
    tarvex::SetupApiInstaller installer([&window] { return window.hwnd(); });
    tarvex::Win32Clock clock;
    tarvex::Win32AnsiCodec codec;
    tarvex::Win32CaseMapping cases;
    tarvex::Win32EventLog events;
    const tarvex::WindowControls controls = window.Controls();
    tarvex::Form1 form({registry, registry, devices, installer, files, clock, codec, cases, &controls.pointer, nullptr,
                        &events},
                       {controls.list, controls.layout, controls.pump, controls.messages, exit, controls.checks,
                        controls.clipboard, controls.closer});
    window.Attach(form);

    tarvex::Win32MessageBoxes messages;
    tarvex::RunEventOperation([&] { window.Create(); }, messages, exit);
    window.Show(showCommand);

    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) tarvex::DispatchWindowMessage(window.hwnd(), message);
    // -1 is a failure of the message loop itself, not a quit with a code.
    return got == 0 ? static_cast<int>(message.wParam) : tarvex::kUntrappedErrorExitCode;
}

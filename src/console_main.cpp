#include "console/console_program.h"
#include "core/exit_codes.h"
#include "win32/program_folder.h"
#include "win32/setupapi_devices.h"
#include "win32/setupapi_installer.h"
#include "win32/system_dlls.h"
#include "win32/wide_text.h"
#include "win32/win32_ansi_codec.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_log.h"
#include "win32/win32_console_output.h"
#include "win32/win32_network_list.h"
#include "win32/win32_registry.h"

#include <windows.h>
#include <setupapi.h>

#include <exception>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    tarvex::RestrictDllSearchToSystem32();
    // Fleet agents run this as SYSTEM with no desktop: SetupAPI must show nothing.
    SetupSetNonInteractiveMode(TRUE);
    tarvex::Win32ConsoleOutput output;
    // Left to the runtime, an exception would end in abort() and exit code 3,
    // which reads as "backup incomplete".
    try {
        std::vector<tarvex::Utf8Text> arguments;
        for (int i = 1; i < argc; ++i) arguments.push_back(tarvex::WideToUtf8(argv[i]));
        tarvex::Win32Registry registry;
        tarvex::SetupApiDevices devices;
        tarvex::SetupApiInstaller installer;
        tarvex::Win32BackupFiles files;
        tarvex::Win32Clock clock;
        tarvex::Win32AnsiCodec codec;
        tarvex::Win32CaseMapping cases;
        tarvex::Win32NetworkList networks;
        tarvex::Win32EventLog events;
        const tarvex::Services services{registry, registry, devices, installer, files, clock, codec, cases, nullptr,
                                        &networks, &events};
        return tarvex::RunConsole(arguments, services, output, tarvex::ExecutableFolder());
    } catch (const std::exception& failure) {
        output.Err(std::string("tarvex: failed while starting: ") + failure.what() + "\r\n");
    } catch (...) {
        output.Err("tarvex: failed while starting: an unknown error\r\n");
    }
    return static_cast<int>(tarvex::ExitCode::Unfinished);
}

#include "console/console_program.h"
#include "console/exit_codes.h"
#include "win32/program_folder.h"
#include "win32/setupapi_devices.h"
#include "win32/system_dlls.h"
#include "win32/wide_text.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "win32/win32_console_output.h"
#include "win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <vector>

namespace {

// Keys and instance IDs are ASCII, which every ANSI code page and UTF-8 spell alike.
tarvex::Utf8Text AnsiToUtf8(const tarvex::AnsiText& text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return text;
    return tarvex::WideToUtf8(tarvex::AnsiToWide(text));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    tarvex::RestrictDllSearchToSystem32();
    tarvex::Win32ConsoleOutput output;
    // Left to the runtime, an exception would end in abort() and exit code 3,
    // which reads as "backup incomplete".
    try {
        std::vector<tarvex::Utf8Text> arguments;
        for (int i = 1; i < argc; ++i) arguments.push_back(tarvex::WideToUtf8(argv[i]));
        tarvex::Win32Registry registry;
        tarvex::SetupApiDevices devices;
        tarvex::Win32BackupFiles files;
        tarvex::Win32Clock clock;
        tarvex::Win32CaseMapping cases;
        return tarvex::RunConsole(arguments, {registry, registry, devices, files, output, clock, cases,
                                              tarvex::ExecutableFolder(), &AnsiToUtf8});
    } catch (const std::exception& failure) {
        output.Err(std::string("tarvex: failed while starting: ") + failure.what() + "\n");
    } catch (...) {
        output.Err("tarvex: failed while starting: an unknown error\n");
    }
    return static_cast<int>(tarvex::ExitCode::Unfinished);
}

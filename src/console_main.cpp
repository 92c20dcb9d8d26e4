#include "console/console_program.h"
#include "platform/program_folder.h"
#include "platform/setupapi_devices.h"
#include "platform/system_dlls.h"
#include "platform/wide_text.h"
#include "platform/win32_backup_files.h"
#include "platform/win32_console_output.h"
#include "registry/win32_registry.h"

#include <windows.h>

#include <vector>

namespace {

tarvex::Utf8Text AnsiToUtf8(const tarvex::AnsiText& text) { return tarvex::WideToUtf8(tarvex::AnsiToWide(text)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    tarvex::RestrictDllSearchToSystem32();

    std::vector<tarvex::Utf8Text> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(tarvex::WideToUtf8(argv[i]));
    tarvex::Win32Registry registry;
    tarvex::SetupApiDevices devices;
    tarvex::Win32BackupFiles files;
    tarvex::Win32ConsoleOutput output;
    return tarvex::RunConsole(arguments, {registry, devices, files, output, tarvex::ExecutableFolder(), &AnsiToUtf8});
}

#pragma once

#include "win32/main_window.h"
#include "win32/setupapi_devices.h"
#include "win32/win32_ansi_codec.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "window/form1.h"

#include <windows.h>

namespace tarvex {

// The window with a Form1 attached, put together as the program does, over
// the registry and exit a test gives.
struct AssembledWindow {
    AssembledWindow(ExportRegistry& registry, UnicodeValues& unicode, ProgramExit& exit,
                    DpiFunctions dpiFunctions = DpiFunctions())
        : window(GetModuleHandleW(nullptr), dpiFunctions),
          controls(window.Controls()),
          form({registry, unicode, devices, files, clock, codec, cases, &controls.pointer},
               {controls.list, controls.layout, controls.pump, controls.messages, exit, controls.checks,
                controls.clipboard, controls.closer}) {
        window.Attach(form);
    }

    Win32BackupFiles files;
    SetupApiDevices devices;
    Win32Clock clock;
    Win32AnsiCodec codec;
    Win32CaseMapping cases;
    MainWindow window;
    WindowControls controls;
    Form1 form;
};

}  // namespace tarvex

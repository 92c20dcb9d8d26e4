#pragma once

#include "win32/main_window.h"
#include "win32/setupapi_devices.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_clock.h"
#include "window/form1.h"

#include <windows.h>

namespace tarvex {

// The window with a Form1 attached, put together as the program does, over
// the registry and exit a test gives.
struct AssembledWindow {
    AssembledWindow(ExportRegistry& registry, ProgramExit& exit, DpiFunctions dpiFunctions = DpiFunctions())
        : window(GetModuleHandleW(nullptr), dpiFunctions),
          controls(window.Controls()),
          form(registry, {controls.list, controls.layout, controls.pump, controls.messages, exit, controls.checks,
                          controls.clipboard, files, controls.pointer, controls.closer, devices, clock}) {
        window.Attach(form);
    }

    Win32BackupFiles files;
    SetupApiDevices devices;
    Win32Clock clock;
    MainWindow window;
    WindowControls controls;
    Form1 form;
};

}  // namespace tarvex

#pragma once

#include "support/win32_services.h"
#include "win32/main_window.h"
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
          form(platform.Over(registry, unicode, &controls.pointer),
               {controls.list, controls.layout, controls.pump, controls.messages, exit, controls.checks,
                controls.clipboard, controls.closer}) {
        window.Attach(form);
    }

    Win32Platform platform;
    MainWindow window;
    WindowControls controls;
    Form1 form;
};

}  // namespace tarvex

#pragma once

#include "support/network_devices.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"
#include "win32/main_window.h"
#include "window/form1.h"

#include <windows.h>

namespace tarvex {

// The window with a Form1 attached, put together as the program does, over
// the registry and exit a test gives. SetupAPI lists the prefix's devices:
// the WAN miniport is seeded, as every Windows has it.
struct AssembledWindow {
    AssembledWindow(ExportRegistry& registry, UnicodeValues& unicode, ProgramExit& exit,
                    DpiFunctions dpiFunctions = DpiFunctions())
        : window(GetModuleHandleW(nullptr), dpiFunctions),
          controls(window.Controls()),
          form(platform.Over(registry, unicode, &controls.pointer),
               {controls.list, controls.layout, controls.pump, controls.messages, exit, controls.checks,
                controls.clipboard, controls.closer}) {
        Win32RegistryWriter writer;
        SeedWanMiniport(writer);
        window.Attach(form);
    }

    Win32Platform platform;
    MainWindow window;
    WindowControls controls;
    Form1 form;
};

}  // namespace tarvex

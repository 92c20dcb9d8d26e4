#pragma once

#include "core/services.h"
#include "support/fake_platform.h"
#include "win32/setupapi_devices.h"
#include "win32/setupapi_installer.h"
#include "win32/win32_ansi_codec.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_log.h"
#include "win32/win32_registry.h"

namespace tarvex {

// The programs' own services beside the registry: files, SetupAPI, clock,
// text conversions and the Application log, as both mains make them.
struct Win32Platform {
    Services Over(ExportRegistry& registry, UnicodeValues& unicode, MousePointer* pointer) {
        return {registry, unicode, devices, installer, files, clock, codec, cases, pointer, nullptr, &events};
    }

    SetupApiDevices devices;
    SetupApiInstaller installer;
    Win32BackupFiles files;
    Win32Clock clock;
    Win32AnsiCodec codec;
    Win32CaseMapping cases;
    Win32EventLog events;
};

// All of them over the real registry, with a recorded pointer in place of the window's.
struct Win32Services {
    Win32Registry registry;
    Win32Platform platform;
    RecordingPointer pointer;
    Services services = platform.Over(registry, registry, &pointer);
};

}  // namespace tarvex

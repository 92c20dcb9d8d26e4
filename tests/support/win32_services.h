#pragma once

#include "core/services.h"
#include "support/fake_platform.h"
#include "win32/setupapi_devices.h"
#include "win32/win32_ansi_codec.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_case_mapping.h"
#include "win32/win32_clock.h"
#include "win32/win32_registry.h"

namespace tarvex {

// The programs' own services over the real registry, files and SetupAPI,
// with a recorded pointer in place of the window's.
struct Win32Services {
    Win32Registry registry;
    SetupApiDevices devices;
    Win32BackupFiles files;
    Win32Clock clock;
    Win32AnsiCodec codec;
    Win32CaseMapping cases;
    RecordingPointer pointer;
    Services services{registry, registry, devices, files, clock, codec, cases, &pointer};
};

}  // namespace tarvex

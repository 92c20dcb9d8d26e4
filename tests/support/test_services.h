#pragma once

#include "core/services.h"
#include "support/ascii_case_mapping.h"
#include "support/fake_installer.h"
#include "support/fake_platform.h"
#include "support/fixed_clock.h"
#include "support/latin1_text.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"

namespace tarvex {

// The services over a test's registry and devices, with stand-ins for the rest.
struct TestServices {
    TestServices(MemoryRegistry& registry, DeviceQuery& devices)
        : services{registry, registry, devices, installer, files, clock, codec, cases, &pointer} {}

    FakeInstaller installer;
    MemoryFiles files;
    FixedClock clock;
    Latin1Codec codec;
    AsciiCaseMapping cases;
    RecordingPointer pointer;
    Services services;
};

}  // namespace tarvex

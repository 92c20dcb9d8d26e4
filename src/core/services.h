#pragma once

#include "core/ansi_codec.h"
#include "core/case_mapping.h"
#include "core/clock.h"
#include "core/device_installer.h"
#include "core/device_query.h"
#include "core/event_log.h"
#include "core/network_list.h"
#include "export/backup_files.h"
#include "export/mouse_pointer.h"
#include "registry/export_registry.h"
#include "registry/unicode_values.h"

namespace tarvex {

// The platform's services the core works through; both programs pass one.
struct Services {
    ExportRegistry& registry;
    UnicodeValues& unicode;
    DeviceQuery& devices;
    DeviceInstaller& installer;
    BackupFiles& files;
    Clock& clock;
    const AnsiCodec& codec;
    const CaseMapping& cases;
    MousePointer* pointer;  // none where no pointer is shown
    NetworkList* networks = nullptr;  // none where network profiles are not asked about
    EventLog* events = nullptr;       // none where no run is recorded
};

}  // namespace tarvex

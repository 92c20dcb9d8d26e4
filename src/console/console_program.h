#pragma once

#include "console/case_mapping.h"
#include "console/console_output.h"
#include "core/clock.h"
#include "core/device_query.h"
#include "export/backup_files.h"
#include "registry/export_registry.h"
#include "registry/unicode_values.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

inline constexpr char kVersionText[] = "tarvex 1.0.0";

struct ConsolePlatform {
    ExportRegistry& registry;
    UnicodeValues& unicode;
    DeviceQuery& devices;
    BackupFiles& files;
    ConsoleOutput& output;
    Clock& clock;
    const CaseMapping& cases;
    Utf8Text programFolder;
    Utf8Text (*ansiToUtf8)(const AnsiText& text);
};

// Runs one command line (the arguments after the program's name) and gives
// the exit code. Never throws: an unexpected failure is named on the error
// stream and gives ExitCode::Unfinished.
int RunConsole(const std::vector<Utf8Text>& arguments, const ConsolePlatform& platform);

}  // namespace tarvex

#pragma once

#include "console/console_output.h"
#include "core/case_mapping.h"
#include "core/services.h"
#include "tarvex_version.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

inline constexpr char kVersionText[] = "tarvex " TARVEX_VERSION;

// Runs one command line (the arguments after the program's name) and gives
// the exit code; backups go into programFolder unless the command names
// another. Never throws: an unexpected failure is named on the error stream
// and gives ExitCode::Unfinished.
int RunConsole(const std::vector<Utf8Text>& arguments, const Services& services, ConsoleOutput& output,
               const Utf8Text& programFolder);

}  // namespace tarvex

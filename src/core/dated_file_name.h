#pragma once

#include "core/clock.h"
#include "util/encoded_text.h"

namespace tarvex {

// STEM-YYYYMMDD-HHMMSS.reg in the folder, then -2, -3, ... for attempt 2, 3, ...
Utf8Text DatedFileName(const Utf8Text& folder, const char* stem, const LocalTime& time, int attempt);

// STEM-YYYYMMDD-HHMMSS.reg in the folder, as a dry run names a file it would write.
Utf8Text DatedFilePattern(const Utf8Text& folder, const char* stem);

// Enough dated names for one second's worth of runs.
inline constexpr int kDatedNameAttempts = 100;

}  // namespace tarvex

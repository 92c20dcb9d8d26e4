#include "core/dated_file_name.h"

#include <cstdio>
#include <string>

namespace tarvex {

Utf8Text DatedFileName(const Utf8Text& folder, const char* stem, const LocalTime& time, int attempt) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    Utf8Text name = folder + stem + "-" + stamp;
    if (attempt > 1) name.append("-").append(std::to_string(attempt));
    return name + ".reg";
}

Utf8Text DatedFilePattern(const Utf8Text& folder, const char* stem) {
    return folder + stem + "-YYYYMMDD-HHMMSS.reg";
}

}  // namespace tarvex

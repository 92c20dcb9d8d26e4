#include "core/event_log.h"

#include <string>

namespace tarvex {

Utf8Text EventWrittenText(const EventWritten& result) {
    if (result.written()) return "written";
    return "not written (" + result.failure->call + ", status " + std::to_string(result.failure->status) + ")";
}

}  // namespace tarvex

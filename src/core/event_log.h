#pragma once

#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

// An event's type, numbered as ReportEventW takes it.
enum class EventType : std::uint16_t { Error = 1, Warning = 2, Information = 4 };

// One event for the Application log: the ID of its message in the
// programs' message table and the texts of its inserts, %1 first.
struct EventRecord {
    std::uint32_t id = 0;
    EventType type = EventType::Information;
    std::vector<Utf8Text> strings;
};

// The call that kept an event or the registration out of the log.
struct EventLogFailure {
    Utf8Text call;
    std::uint32_t status = 0;
    Utf8Text text;  // the system's words for the status; may be empty
};

// Done, or the call that failed and its status.
struct EventWritten {
    std::optional<EventLogFailure> failure;

    bool written() const { return !failure; }
};

// For a run's summary: "written", or "not written (CALL, status N)".
Utf8Text EventWrittenText(const EventWritten& result);

// Who ran the program, which file it is and how it was started, as the
// events name them: the user as DOMAIN\name (or a SID when no name is
// found), the program's full path and its whole command line.
struct RunIdentity {
    Utf8Text user;
    Utf8Text program;
    Utf8Text commandLine;
};

// The Application log under the source Tarvex. Nothing here raises, and a
// log that cannot be written never changes a run's outcome: the caller
// only names the failure.
class EventLog {
public:
    virtual ~EventLog() = default;
    // Points the source at this program's message table where
    // RegistrationNeeded says so; leaves a working registration alone.
    virtual EventWritten Register() = 0;
    virtual EventWritten Report(const EventRecord& event) = 0;
    virtual RunIdentity Identity() = 0;
};

}  // namespace tarvex

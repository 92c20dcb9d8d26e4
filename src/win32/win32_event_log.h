#pragma once

#include "core/event_log.h"

namespace tarvex {

// The Application log through advapi32's event log calls, the source's
// registration under HKLM, and this process's identity.
class Win32EventLog final : public EventLog {
public:
    EventWritten Register() override;
    EventWritten Report(const EventRecord& event) override;
    RunIdentity Identity() override;
};

}  // namespace tarvex

#pragma once

#include "core/event_log.h"

#include <functional>
#include <optional>
#include <vector>

namespace tarvex {

// The Application log as a list of the events reported, with a registration
// or a report that fails as told.
class FakeEventLog final : public EventLog {
public:
    EventWritten Register() override {
        ++registrations;
        return {registerFails};
    }
    EventWritten Report(const EventRecord& event) override {
        if (whileReporting) whileReporting(event);
        unregisteredReports += registrations == 0;
        if (reportFails && reports++ >= reportsBeforeFailing) return {reportFails};
        events.push_back(event);
        return {};
    }
    RunIdentity Identity() override { return {"CONTOSO\\alice", "C:\\Tools\\tarvex.exe", "tarvex.exe delete"}; }

    // ERROR_ACCESS_DENIED, as a user who may not write the source's key meets it.
    inline static const EventLogFailure kRegisterFailure{"RegCreateKeyExW", 5, "Access is denied."};
    // RPC_S_SERVER_UNAVAILABLE, as a stopped event log service answers.
    inline static const EventLogFailure kReportFailure{"ReportEventW", 1722, "The RPC server is unavailable."};

    std::vector<EventRecord> events;
    int registrations = 0;
    std::optional<EventLogFailure> registerFails;
    std::optional<EventLogFailure> reportFails;
    int reportsBeforeFailing = 0;  // with reportFails, those that go first
    int reports = 0;
    int unregisteredReports = 0;  // made before the source's registration
    std::function<void(const EventRecord&)> whileReporting;
};

}  // namespace tarvex

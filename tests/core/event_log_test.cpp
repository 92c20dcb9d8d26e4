#include "core/event_log.h"
#include "core/event_source_registration.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarvex {
namespace {

// What the source's key holds, and whether the registration is written.
struct RegistrationCase {
    const char* what;
    SourceRegistration found;
    bool registers;
};

class SourceRegistrationRule : public ::testing::TestWithParam<RegistrationCase> {};

TEST_P(SourceRegistrationRule, RegistersOnlyWhatNamesNoFileThatExists) {
    EXPECT_EQ(GetParam().registers, RegistrationNeeded(GetParam().found));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SourceRegistrationRule,
    ::testing::Values(
        RegistrationCase{"MissingKey", {.keyFound = false}, true},
        RegistrationCase{"KeyWithoutMessageFile", {.keyFound = true}, true},
        RegistrationCase{"EmptyMessageFile", {.keyFound = true, .messageFile = "", .messageFileFound = false}, true},
        RegistrationCase{"MessageFileGone",
                         {.keyFound = true, .messageFile = "C:\\Old\\tarvex.exe", .messageFileFound = false},
                         true},
        RegistrationCase{"MessageFileThere",
                         {.keyFound = true, .messageFile = "C:\\Tools\\tarvex.exe", .messageFileFound = true},
                         false},
        // Another copy, or an administrator's own: left as it is.
        RegistrationCase{"ExpandedMessageFileThere",
                         {.keyFound = true,
                          .messageFile = "%ProgramFiles%\\Tarvex\\tarvex-manager.exe",
                          .messageFileFound = true},
                         false}),
    [](const auto& info) { return info.param.what; });

// What a run's summary says of the log.
struct WrittenCase {
    const char* what;
    EventWritten result;
    std::string text;
};

class EventWrittenTexts : public ::testing::TestWithParam<WrittenCase> {};

TEST_P(EventWrittenTexts, NameTheCallAndItsStatus) { EXPECT_EQ(GetParam().text, EventWrittenText(GetParam().result)); }

INSTANTIATE_TEST_SUITE_P(
    Results, EventWrittenTexts,
    ::testing::Values(WrittenCase{"Written", {}, "written"},
                      WrittenCase{"ReportFailed",
                                  {EventLogFailure{"ReportEventW", 1502, "The event log file is full."}},
                                  "not written (ReportEventW, status 1502)"},
                      WrittenCase{"RegistrationDenied",
                                  {EventLogFailure{"RegCreateKeyExW", 5, "Access is denied."}},
                                  "not written (RegCreateKeyExW, status 5)"}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

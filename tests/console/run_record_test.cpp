#include "console/console_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using namespace console_fixture;

// Which runs leave a record, and what it says: event 100 just before the
// first change, then the outcome's, whose text is the run's summary line.
struct RecordCase {
    const char* what;
    std::vector<std::string> arguments;
    std::function<void(ConsoleProgram&)> arrange;
    ExitCode exit;
    std::vector<std::uint32_t> ids;  // the events reported, in order
    std::string summaryEnd;          // the summary line's end, CR LF included; none when it is not asked for
};

class RunRecords : public ConsoleProgram, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RunRecords, OnlyARunThatChangesSomethingLeavesOneAndItChangesNoCode) {
    GetParam().arrange(*this);
    EXPECT_EQ(GetParam().exit, Run(GetParam().arguments));
    std::vector<std::uint32_t> ids;
    for (const EventRecord& event : events.events) ids.push_back(event.id);
    EXPECT_EQ(GetParam().ids, ids);
    EXPECT_EQ(GetParam().ids.empty() && !events.reportFails ? 0 : 1, events.registrations)
        << "registered just before the first change";
    if (!GetParam().summaryEnd.empty()) {
        ASSERT_GE(output.out.size(), GetParam().summaryEnd.size());
        EXPECT_EQ(GetParam().summaryEnd, output.out.substr(output.out.size() - GetParam().summaryEnd.size()));
        EXPECT_EQ("", output.err);
    }
    if (events.events.size() < 2 || events.reportFails) return;
    EXPECT_EQ(EventType::Information, events.events[0].type);
    EXPECT_EQ("CONTOSO\\alice", events.events[0].strings[2]);
    EXPECT_EQ("tarvex.exe delete", events.events[0].strings[4]);
    if (!GetParam().summaryEnd.empty()) {
        EXPECT_EQ(output.out.substr(0, output.out.size() - 2), events.events[1].strings[0]) << "the one summary line";
    }
}

void Nothing(ConsoleProgram&) {}

const std::vector<std::string> kStaleSummary = {"delete", "--stale", "--format", "summary"};

INSTANTIATE_TEST_SUITE_P(
    Records, RunRecords,
    ::testing::Values(
        RecordCase{"Deletion", kStaleSummary, Nothing, ExitCode::Done, {100, 1000},
                   "to undo this run, in PowerShell: reg import 'C:\\Tools\\Tarvex-20261208-070509.reg'\r\n"},
        RecordCase{"Restart", {"delete", "--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) { c.installer.needsRestart.insert("USB\\DONGLE\\3"); }, ExitCode::RestartNeeded,
                   {100, 3010}},
        RecordCase{"StoppedPartWay", {"delete", "--stale"}, [](ConsoleProgram& c) { c.files.FailOpensFrom(5); },
                   ExitCode::BackupIncomplete, {100, 1003}},
        RecordCase{"DryRun", {"delete", "--stale", "--dry-run"}, Nothing, ExitCode::Done, {}},
        RecordCase{"NoEventLog", {"delete", "--stale", "--no-event-log"}, Nothing, ExitCode::Done, {}},
        RecordCase{"ReadOnlyCommand", {"check"}, Nothing, ExitCode::StaleFound, {}},
        RecordCase{"NothingSelected", {"delete", "--stale", "--name", "Nothing*"}, Nothing, ExitCode::Done, {}},
        RecordCase{"StoppedBeforeTheFirstChange", {"delete", "--stale"},
                   [](ConsoleProgram& c) {
                       ASSERT_EQ(kSuccess, c.registry.CreateKey(kLocalMachine, kSet1 + "{3}\\Locked"));
                       c.registry.SetRights(kLocalMachine, kSet1 + "{3}\\Locked", {.canRead = false});
                   },
                   ExitCode::BackupIncomplete, {}},
        RecordCase{"RegistrationRefused", kStaleSummary,
                   [](ConsoleProgram& c) { c.events.registerFails = FakeEventLog::kRegisterFailure; }, ExitCode::Done,
                   {100, 1000}, "; event log: not written (RegCreateKeyExW, status 5)\r\n"},
        RecordCase{"EventRefused", kStaleSummary,
                   [](ConsoleProgram& c) { c.events.reportFails = FakeEventLog::kReportFailure; }, ExitCode::Done, {},
                   "; event log: not written (ReportEventW, status 1722)\r\n"}),
    [](const auto& info) { return info.param.what; });

// Without the summary line the failure is a message of its own.
TEST_F(ConsoleProgram, ALogThatCannotBeWrittenIsNamedOnTheErrorStream) {
    events.reportFails = FakeEventLog::kReportFailure;
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale"}));
    EXPECT_NE(std::string::npos, output.err.find("tarvex: event log: not written (ReportEventW, status 1722)\r\n"));
}

}  // namespace
}  // namespace tarvex

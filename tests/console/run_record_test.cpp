#include "console/console_fixture.h"
#include "support/seed_profile.h"

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
    std::string changes = {};        // event 100's first two inserts: what the run will change,
    std::string backups = {};        // and the backups written before it
};

class RunRecords : public ConsoleProgram, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RunRecords, OnlyARunThatChangesSomethingLeavesOneAndItChangesNoCode) {
    GetParam().arrange(*this);
    bool untouchedAtTheFirstEvent = true;
    events.whileReporting = [&](const EventRecord& event) {
        if (event.id != 100) return;
        for (const std::string& key : {kSet1 + "{2}", kSet1 + "{3}", kSet2 + "{4}"}) {
            untouchedAtTheFirstEvent = untouchedAtTheFirstEvent && Exists(key);
        }
    };
    EXPECT_EQ(GetParam().exit, Run(GetParam().arguments));
    EXPECT_TRUE(untouchedAtTheFirstEvent) << "recorded before the first change";
    EXPECT_EQ(0, events.unregisteredReports);
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
    if (!GetParam().changes.empty()) {
        ASSERT_FALSE(events.events.empty());
        EXPECT_EQ(GetParam().changes, events.events[0].strings[0]);
        EXPECT_EQ(GetParam().backups, events.events[0].strings[1]);
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
const std::string kStaleProfile = "{5D1A9C3E-0000-4000-8000-0000000000B2}";

INSTANTIATE_TEST_SUITE_P(
    Records, RunRecords,
    ::testing::Values(
        RecordCase{"Deletion", kStaleSummary, Nothing, ExitCode::Done, {100, 1000},
                   "to undo this run, in PowerShell: reg import 'C:\\Tools\\Tarvex-20261208-070509.reg'\r\n",
                   "delete 5 entries", "selective: C:\\Tools\\Tarvex-20261208-070509.reg, C:\\Tools\\SmallBackup.reg"},
        RecordCase{"FullBackup", {"delete", "--stale", "--backup", "full"}, Nothing, ExitCode::Done, {100, 1000}, "",
                   "delete 5 entries", "full: C:\\Tools\\Tarvex-20261208-070509.reg, C:\\Tools\\LargeBackup.reg"},
        RecordCase{"Restart", {"delete", "--key", kSet1 + "{3}", "--uninstall-devices", "--backup", "none"},
                   [](ConsoleProgram& c) { c.installer.needsRestart.insert("USB\\DONGLE\\3"); }, ExitCode::RestartNeeded,
                   {100, 3010}, "", "delete 1 entry; uninstall 1 device", "none"},
        RecordCase{"Profile", {"delete", "--profiles", "--stale", "--backup", "none"},
                   [](ConsoleProgram& c) {
                       ASSERT_EQ(kSuccess,
                                 SeedProfile(c.registry, kStaleProfile, "Network 2", {2026, 1, 10, 18, 30, 0}));
                       ASSERT_EQ(kSuccess, SeedSignature(c.registry, "Managed", "0102", kStaleProfile,
                                                         "\x00\x1A\x2B\x3C\x4D\x5E"s, "lab"));
                   },
                   ExitCode::Done, {100, 1000}, "", "delete 1 network profile, 1 signature", "none"},
        RecordCase{"GhostKeptWhole", {"delete", "--stale", "--with-ip-settings", "--hand-over", "--backup", "none"},
                   [](ConsoleProgram& c) { ConsoleProgram::StaticGhost(c.registry); }, ExitCode::HandOverFailed,
                   {100, 1009}, "", "delete 3 entries", "none"},
        RecordCase{"HandOver", {"delete", "--stale", "--with-ip-settings", "--hand-over", "--backup", "none"},
                   [](ConsoleProgram& c) { c.StaticGhostAndSuccessor(); }, ExitCode::RestartNeeded, {100, 3010}, "",
                   "delete 5 entries, 8 IP settings keys; hand over 10.0.0.9/255.255.255.0 gw 10.0.0.1 dns "
                   "10.0.0.2,10.0.0.3 from Local Area Connection 2 ({2}) to Ethernet 2 (Intel I219-V, {5})",
                   "none"},
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
                   "; event log: not written (ReportEventW, status 1722)\r\n"},
        RecordCase{"RegistrationAndEventRefused", kStaleSummary,
                   [](ConsoleProgram& c) {
                       c.events.registerFails = FakeEventLog::kRegisterFailure;
                       c.events.reportFails = FakeEventLog::kReportFailure;
                   },
                   ExitCode::Done, {}, "; event log: not written (RegCreateKeyExW, status 5)\r\n"},
        RecordCase{"OutcomeEventRefused", kStaleSummary,
                   [](ConsoleProgram& c) {
                       c.events.reportFails = FakeEventLog::kReportFailure;
                       c.events.reportsBeforeFailing = 1;
                   },
                   ExitCode::Done, {100}, "; event log: not written (ReportEventW, status 1722)\r\n"}),
    [](const auto& info) { return info.param.what; });

// Without the summary line the failure is a message of its own.
TEST_F(ConsoleProgram, ALogThatCannotBeWrittenIsNamedOnTheErrorStream) {
    events.reportFails = FakeEventLog::kReportFailure;
    EXPECT_EQ(ExitCode::Done, Run({"delete", "--stale"}));
    EXPECT_NE(std::string::npos, output.err.find("tarvex: event log: not written (ReportEventW, status 1722)\r\n"));
}

}  // namespace
}  // namespace tarvex

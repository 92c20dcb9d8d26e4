#include "core/run_events.h"

#include "core/exit_codes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvex {
namespace {

// How each way a run ends shows in the Application log.
struct OutcomeCase {
    const char* what;
    int exitCode;
    std::optional<EventKind> event;
};

class OutcomeEvents : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeEvents, EachExitCodeHasItsIdAndType) { EXPECT_EQ(GetParam().event, OutcomeEventKind(GetParam().exitCode)); }

constexpr int Code(ExitCode code) { return static_cast<int>(code); }

INSTANTIATE_TEST_SUITE_P(
    ExitCodes, OutcomeEvents,
    ::testing::Values(
        OutcomeCase{"Done", Code(ExitCode::Done), EventKind{1000, EventType::Information}},
        OutcomeCase{"StaleFound", Code(ExitCode::StaleFound), EventKind{1001, EventType::Information}},
        OutcomeCase{"Usage", Code(ExitCode::Usage), EventKind{1002, EventType::Error}},
        OutcomeCase{"BackupIncomplete", Code(ExitCode::BackupIncomplete), EventKind{1003, EventType::Error}},
        OutcomeCase{"NoAdminRights", Code(ExitCode::NoAdminRights), EventKind{1004, EventType::Error}},
        OutcomeCase{"DeletionFailed", Code(ExitCode::DeletionFailed), EventKind{1005, EventType::Error}},
        OutcomeCase{"StaleUnknown", Code(ExitCode::StaleUnknown), EventKind{1006, EventType::Error}},
        OutcomeCase{"DoneWithIncompleteBackup", Code(ExitCode::DoneWithIncompleteBackup),
                    EventKind{1007, EventType::Warning}},
        OutcomeCase{"Unfinished", Code(ExitCode::Unfinished), EventKind{1008, EventType::Warning}},
        OutcomeCase{"HandOverFailed", Code(ExitCode::HandOverFailed), EventKind{1009, EventType::Warning}},
        OutcomeCase{"HandOverPartial", Code(ExitCode::HandOverPartial), EventKind{1010, EventType::Error}},
        OutcomeCase{"RestartNeeded", Code(ExitCode::RestartNeeded), EventKind{3010, EventType::Information}},
        // Codes no run exits with have no message to show.
        OutcomeCase{"OneAfterTheLastNumbered", 11, std::nullopt},
        OutcomeCase{"Negative", -1, std::nullopt},
        OutcomeCase{"OneAfterRestart", 3011, std::nullopt},
        OutcomeCase{"NumberedOutcomeItself", 1000, std::nullopt}),
    [](const auto& info) { return info.param.what; });

const RunIdentity kWho{"CONTOSO\\alice", "C:\\Tools\\tarvex.exe",
                       "\"C:\\Tools\\tarvex.exe\" delete --stale --backup selective"};

// A text of the given length in bytes: e acute (two bytes) repeated, after
// one "a" when the length is odd, so a cut can fall inside a character.
std::string Accents(std::size_t bytes) {
    std::string text(bytes % 2, 'a');
    while (text.size() < bytes) text += "\xC3\xA9";
    return text;
}

// The inserts each event carries, in the order of its message's %1, %2, ...
struct EventCase {
    const char* what;
    EventRecord event;
    std::uint32_t id;
    EventType type;
    std::vector<std::string> strings;
};

class EventInserts : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventInserts, FollowTheMessage) {
    EXPECT_EQ(GetParam().id, GetParam().event.id);
    EXPECT_EQ(GetParam().type, GetParam().event.type);
    EXPECT_EQ(GetParam().strings, GetParam().event.strings);
}

EventRecord Outcome(int exitCode, const std::string& summary, const RunIdentity& who = kWho) {
    return OutcomeEvent(exitCode, summary, who).value_or(EventRecord{0, EventType::Information, {"no event"}});
}

const std::string kLongest(kLongestInsert, 'x');
const std::string kCut = std::string(kLongestInsert - 3, 'x') + "...";

INSTANTIATE_TEST_SUITE_P(
    Events, EventInserts,
    ::testing::Values(
        EventCase{"AboutToChangeWithTwoBackups",
                  AboutToChangeEvent("delete 2 stale connections: Ethernet 3, Wi-Fi 2",
                                     {"C:\\Tools\\tarvex-20261208-070509.reg", "C:\\Tools\\tarvex-full.reg"}, kWho),
                  100,
                  EventType::Information,
                  {"delete 2 stale connections: Ethernet 3, Wi-Fi 2",
                   "C:\\Tools\\tarvex-20261208-070509.reg, C:\\Tools\\tarvex-full.reg", "CONTOSO\\alice",
                   "C:\\Tools\\tarvex.exe", "\"C:\\Tools\\tarvex.exe\" delete --stale --backup selective"}},
        EventCase{"AboutToChangeWithoutBackup",
                  AboutToChangeEvent("delete 1 stale connection: Ethernet 3", {}, kWho),
                  100,
                  EventType::Information,
                  {"delete 1 stale connection: Ethernet 3", "none", "CONTOSO\\alice", "C:\\Tools\\tarvex.exe",
                   "\"C:\\Tools\\tarvex.exe\" delete --stale --backup selective"}},
        EventCase{"Stopped",
                  Outcome(3, "0 deleted, 1 failed; left: a backup was incomplete"),
                  1003,
                  EventType::Error,
                  {"0 deleted, 1 failed; left: a backup was incomplete", "CONTOSO\\alice", "C:\\Tools\\tarvex.exe",
                   "\"C:\\Tools\\tarvex.exe\" delete --stale --backup selective"}},
        EventCase{"LongestInsertKept", Outcome(7, kLongest), 1007, EventType::Warning,
                  {kLongest, kWho.user, kWho.program, kWho.commandLine}},
        EventCase{"LongerCommandLineCut",
                  AboutToChangeEvent("w", {}, {"u", "p", kLongest + "y"}),
                  100,
                  EventType::Information,
                  {"w", "none", "u", "p", kCut}},
        // The cut falls just before a character: all before it stays.
        EventCase{"CutBeforeACharacter", Outcome(0, Accents(kLongestInsert + 1)), 1000, EventType::Information,
                  {Accents(kLongestInsert - 3) + "...", kWho.user, kWho.program, kWho.commandLine}},
        // The cut falls on a character's second byte: its first goes too.
        EventCase{"CutInsideACharacter", Outcome(0, Accents(kLongestInsert + 2)), 1000, EventType::Information,
                  {Accents(kLongestInsert - 4) + "...", kWho.user, kWho.program, kWho.commandLine}}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex

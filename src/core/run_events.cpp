#include "core/run_events.h"

namespace tarvex {

namespace {

// The type of each numbered outcome, in the order of the exit codes:
// Done, StaleFound, Usage, BackupIncomplete, NoAdminRights,
// DeletionFailed, StaleUnknown, DoneWithIncompleteBackup, Unfinished,
// HandOverFailed, HandOverPartial.
constexpr EventType kOutcomeTypes[kLastNumberedOutcome + 1] = {
    EventType::Information, EventType::Information, EventType::Error,   EventType::Error,
    EventType::Error,       EventType::Error,       EventType::Error,   EventType::Warning,
    EventType::Warning,     EventType::Warning,     EventType::Error,
};

constexpr int kRestartExitCode = 3010;

// A UTF-8 continuation byte: 10xxxxxx.
bool ContinuesACharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

Utf8Text Joined(const std::vector<Utf8Text>& items, const char* separator) {
    Utf8Text text;
    for (const Utf8Text& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

}  // namespace

std::optional<EventKind> OutcomeEventKind(int exitCode) {
    if (exitCode == kRestartExitCode) return EventKind{kRestartEventId, EventType::Information};
    if (exitCode < 0 || exitCode > kLastNumberedOutcome) return std::nullopt;
    return EventKind{kFirstOutcomeEventId + static_cast<std::uint32_t>(exitCode), kOutcomeTypes[exitCode]};
}

EventRecord AboutToChangeEvent(const Utf8Text& what, const std::vector<Utf8Text>& backups, const RunIdentity& who) {
    const Utf8Text backupList = backups.empty() ? "none" : Joined(backups, ", ");
    return {kAboutToChangeEventId,
            EventType::Information,
            {InsertText(what), InsertText(backupList), InsertText(who.user), InsertText(who.program),
             InsertText(who.commandLine)}};
}

std::optional<EventRecord> OutcomeEvent(int exitCode, const Utf8Text& summary, const RunIdentity& who) {
    const std::optional<EventKind> kind = OutcomeEventKind(exitCode);
    if (!kind) return std::nullopt;
    return EventRecord{kind->id,
                       kind->type,
                       {InsertText(summary), InsertText(who.user), InsertText(who.program), InsertText(who.commandLine)}};
}

Utf8Text InsertText(const Utf8Text& text) {
    if (text.size() <= kLongestInsert) return text;
    constexpr std::size_t kEllipsis = 3;
    std::size_t end = kLongestInsert - kEllipsis;
    while (end > 0 && ContinuesACharacter(text[end])) --end;
    return text.substr(0, end) + "...";
}

}  // namespace tarvex

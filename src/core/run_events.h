#pragma once

#include "core/event_log.h"
#include "util/encoded_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

// The message IDs of res/tarvex_events.mc, which holds their texts.
// Written just before a run's first change.
inline constexpr std::uint32_t kAboutToChangeEventId = 100;
// After the run: this plus its exit code, for codes 0 to 10, as Windows
// Installer's events carry their outcome in the ID.
inline constexpr std::uint32_t kFirstOutcomeEventId = 1000;
inline constexpr int kLastNumberedOutcome = 10;
// A run that needs a restart: the exit code itself.
inline constexpr std::uint32_t kRestartEventId = 3010;

// ReportEventW takes no insert longer than 31,839 characters. A UTF-8
// text is never shorter in bytes than in UTF-16 units, so this many bytes
// always fit.
inline constexpr std::size_t kLongestInsert = 31839;

struct EventKind {
    std::uint32_t id = 0;
    EventType type = EventType::Information;

    bool operator==(const EventKind&) const = default;
};

// The event that tells how a run ended; none for a code no run exits with.
std::optional<EventKind> OutcomeEventKind(int exitCode);

// Event 100: what the run is about to change and the backups it writes
// first. Inserts: what, backups (", " between them, "none" without one),
// user, program, command line.
EventRecord AboutToChangeEvent(const Utf8Text& what, const std::vector<Utf8Text>& backups, const RunIdentity& who);

// The outcome's event: the run's one-line summary, user, program, command
// line; none for a code no run exits with.
std::optional<EventRecord> OutcomeEvent(int exitCode, const Utf8Text& summary, const RunIdentity& who);

// The text cut to kLongestInsert bytes, never inside a character, ending
// in "..." when cut.
Utf8Text InsertText(const Utf8Text& text);

}  // namespace tarvex

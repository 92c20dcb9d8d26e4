#pragma once

#include "util/encoded_text.h"

#include <cstdint>
#include <optional>

namespace tarvex {

// The source the events are written under, in the Application log.
inline constexpr const char* kEventSourceName = "Tarvex";
// Where Event Viewer looks for the source's message table.
inline constexpr const char* kEventSourceKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tarvex";
// Error, warning and information: the types the events use.
inline constexpr std::uint32_t kEventTypesSupported = 7;

// What the source's key under HKLM holds now.
struct SourceRegistration {
    bool keyFound = false;
    std::optional<Utf8Text> messageFile;  // EventMessageFile as written; none when absent or no text
    bool messageFileFound = false;        // the file it names, environment strings expanded, exists
};

// Whether to write the registration: when the key is missing, names no
// message file, or names one that is gone (the program was moved or
// deleted). One that names a file that exists is never rewritten: it may be
// another copy of the program, or an administrator's choice, and either
// shows the same messages.
bool RegistrationNeeded(const SourceRegistration& found);

}  // namespace tarvex

#pragma once

#include "core/connection_deletion.h"
#include "support/memory_files.h"
#include "support/utf16_text.h"

#include <vector>

namespace tarvex {

// The keys a run deleted or could not delete, in its order.
inline std::vector<Outcome> KeysReached(const DeletionReport& report) {
    std::vector<Outcome> keys;
    for (const Outcome& outcome : report.outcomes) {
        if (outcome.kind != ItemKind::Device && (outcome.fate == Fate::Deleted || outcome.fate == Fate::Failed)) {
            keys.push_back(outcome);
        }
    }
    return keys;
}

// The run's own file as UTF-8 text: what importing it brings back. Empty when the run kept none.
inline std::string RunFileText(const MemoryFiles& files, const DeletionReport& report) {
    return Utf16ToUtf8(Utf16FromLeBytes(files.Content(report.runFile.value_or("")).value_or("")));
}

// What became of each device the run names, in its order.
inline std::vector<Outcome> DeviceOutcomes(const DeletionReport& report) {
    std::vector<Outcome> devices;
    for (const Outcome& outcome : report.outcomes) {
        if (outcome.kind == ItemKind::Device) devices.push_back(outcome);
    }
    return devices;
}

}  // namespace tarvex

#include "core/connection_row.h"

#include "core/network_paths.h"

#include <algorithm>

namespace tarvex {

const char* AdapterText(AdapterState state) {
    switch (state) {
        case AdapterState::Present: return "Present";
        case AdapterState::NotPresent: return "Not present";
        case AdapterState::NoDevice: return "No device";
        case AdapterState::Unknown: break;
    }
    return "";
}

std::optional<FileTime> LastSeen(const ConnectionRow& row, FileTime now) {
    if (row.adapter == AdapterState::Present) return now;
    if (row.adapter != AdapterState::NotPresent) return std::nullopt;
    if (!row.lastArrival) return row.lastRemoval;
    if (!row.lastRemoval) return row.lastArrival;
    return std::max(*row.lastArrival, *row.lastRemoval);
}

AnsiText InCurrentControlSet(const AnsiText& key) {
    const std::size_t set = key.find('\\');
    const std::size_t rest = key.find('\\', set + 1);
    return key.substr(0, set + 1) + kCurrentControlSet + key.substr(rest);
}

AnsiText GetField(const AnsiText& text, const AnsiText& delimiter, int n) {
    if (n < 1) return "";
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        std::size_t found = text.find(delimiter, start);
        if (found == AnsiText::npos) return "";
        start = found + delimiter.size();
    }
    std::size_t end = text.find(delimiter, start);
    return text.substr(start, end == AnsiText::npos ? AnsiText::npos : end - start);
}

}  // namespace tarvex

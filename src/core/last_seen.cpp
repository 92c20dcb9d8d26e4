#include "core/last_seen.h"

#include <cstdio>

namespace tarvex {

namespace {

constexpr FileTime kTicksPerSecond = 10'000'000;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kDaysFrom1601To1970 = 134'774;

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// Howard Hinnant's days-to-civil: days since 1970-01-01 to a Gregorian date.
CivilDate CivilFromDays(std::int64_t days) {
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

}  // namespace

bool IsStale(const ConnectionRow& row, FileTime now, std::uint32_t notSeenForDays) {
    if (row.adapter == AdapterState::NoDevice) return true;
    if (row.adapter != AdapterState::NotPresent) return false;
    const std::optional<FileTime> seen = LastSeen(row, now);
    if (!seen) return notSeenForDays == 0;
    const FileTime age = now > *seen ? now - *seen : 0;
    return age >= notSeenForDays * kTicksPerDay;
}

bool IsKeptAsRecent(const ConnectionRow& row, FileTime now, std::uint32_t notSeenForDays) {
    return row.adapter == AdapterState::NotPresent && !IsStale(row, now, notSeenForDays);
}

Utf8Text IsoUtcText(FileTime time) {
    const auto seconds = static_cast<std::int64_t>(time / kTicksPerSecond);
    const std::int64_t days = seconds / 86'400;
    const std::int64_t secondOfDay = seconds % 86'400;
    const CivilDate date = CivilFromDays(days - kDaysFrom1601To1970);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(date.year),
                  date.month, date.day, static_cast<long long>(secondOfDay / 3600),
                  static_cast<long long>(secondOfDay / 60 % 60), static_cast<long long>(secondOfDay % 60));
    return text;
}

}  // namespace tarvex

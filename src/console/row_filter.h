#pragma once

#include "console/console_arguments.h"
#include "core/case_mapping.h"
#include "core/connection_row.h"
#include "core/network_profiles.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// Whether text matches a wildcard pattern: * any run of characters, ? one
// character. Characters match exactly: callers map both to upper case first.
bool MatchesWildcard(const Utf8Text& pattern, const Utf8Text& text);

// The rows that pass both parts of the filter at the time now, in their
// order; names match the pattern without regard to case.
std::vector<ConnectionRow> FilterRows(const std::vector<ConnectionRow>& rows, const RowFilter& filter,
                                      const CaseMapping& cases, FileTime now);

// Whether the filter's name pattern matches some row's name, stale or not;
// true without a pattern.
bool AnyNameMatches(const std::vector<ConnectionRow>& rows, const RowFilter& filter, const CaseMapping& cases);

// The profiles that pass both parts of the filter at the local time now,
// in their order; names match ProfileName as rows' match theirs.
std::vector<NetworkProfile> FilterProfiles(const std::vector<NetworkProfile>& profiles, const RowFilter& filter,
                                           const CaseMapping& cases, const LocalTime& now);

// Whether the filter's name pattern matches some profile's name; true without a pattern.
bool AnyNameMatches(const std::vector<NetworkProfile>& profiles, const RowFilter& filter, const CaseMapping& cases);

// Why the profiles a stale filter kept back, among those that match its name pattern.
struct ProfilesKept {
    std::size_t connected = 0;  // connected now
    std::size_t recent = 0;     // seen within the filter's days
    std::size_t undated = 0;    // no readable last connection: never stale
};
ProfilesKept CountProfilesKept(const std::vector<NetworkProfile>& profiles, const RowFilter& filter,
                               const CaseMapping& cases, const LocalTime& now);

// The rows a stale filter kept back as seen too recently or undated, among
// those that match its name pattern.
std::size_t CountKeptAsRecent(const std::vector<ConnectionRow>& rows, const RowFilter& filter,
                              const CaseMapping& cases, FileTime now);

}  // namespace tarvex

#include "console/row_filter.h"

#include "util/utf8.h"

namespace tarvex {

bool MatchesWildcard(const Utf8Text& pattern, const Utf8Text& text) {
    const std::u32string p = DecodeUtf8(pattern);
    const std::u32string t = DecodeUtf8(text);
    // Greedy match with one backtrack point for the last star: linear enough
    // for names, and no recursion to blow up on many stars.
    std::size_t pi = 0, ti = 0, star = std::u32string::npos, resume = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == U'*') {
            star = pi++;
            resume = ti;
        } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            ti = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

namespace {

bool NameMatches(const Utf8Text& name, const std::optional<Utf8Text>& upperPattern, const CaseMapping& cases) {
    return !upperPattern || MatchesWildcard(*upperPattern, cases.Upper(name));
}

bool NameMatches(const ConnectionRow& row, const std::optional<Utf8Text>& upperPattern, const CaseMapping& cases) {
    return NameMatches(row.texts.connection, upperPattern, cases);
}

bool NameMatches(const NetworkProfile& profile, const std::optional<Utf8Text>& upperPattern, const CaseMapping& cases) {
    return NameMatches(profile.name, upperPattern, cases);
}


std::optional<Utf8Text> UpperPattern(const RowFilter& filter, const CaseMapping& cases) {
    if (!filter.namePattern) return std::nullopt;
    return cases.Upper(*filter.namePattern);
}

template <typename Item>
bool AnyMatches(const std::vector<Item>& items, const RowFilter& filter, const CaseMapping& cases) {
    const std::optional<Utf8Text> pattern = UpperPattern(filter, cases);
    for (const Item& item : items) {
        if (NameMatches(item, pattern, cases)) return true;
    }
    return !pattern;
}

// The items that pass both parts of the filter, isStale telling the first.
template <typename Item, typename IsStaleItem>
std::vector<Item> Filter(const std::vector<Item>& items, const RowFilter& filter, const CaseMapping& cases,
                         IsStaleItem isStale) {
    const std::optional<Utf8Text> pattern = UpperPattern(filter, cases);
    std::vector<Item> kept;
    for (const Item& item : items) {
        if (filter.staleOnly && !isStale(item)) continue;
        if (NameMatches(item, pattern, cases)) kept.push_back(item);
    }
    return kept;
}

}  // namespace

std::vector<ConnectionRow> FilterRows(const std::vector<ConnectionRow>& rows, const RowFilter& filter,
                                      const CaseMapping& cases, FileTime now) {
    return Filter(rows, filter, cases, [&](const ConnectionRow& row) { return IsStale(row, now, filter.notSeenForDays); });
}

bool AnyNameMatches(const std::vector<ConnectionRow>& rows, const RowFilter& filter, const CaseMapping& cases) {
    return AnyMatches(rows, filter, cases);
}

bool AnyNameMatches(const std::vector<NetworkProfile>& profiles, const RowFilter& filter, const CaseMapping& cases) {
    return AnyMatches(profiles, filter, cases);
}

std::vector<NetworkProfile> FilterProfiles(const std::vector<NetworkProfile>& profiles, const RowFilter& filter,
                                           const CaseMapping& cases, const LocalTime& now) {
    return Filter(profiles, filter, cases,
                  [&](const NetworkProfile& profile) { return IsStaleProfile(profile, now, filter.notSeenForDays); });
}

std::size_t CountKeptAsRecent(const std::vector<ConnectionRow>& rows, const RowFilter& filter,
                              const CaseMapping& cases, FileTime now) {
    const std::optional<Utf8Text> pattern = UpperPattern(filter, cases);
    std::size_t count = 0;
    for (const ConnectionRow& row : rows) {
        count += IsKeptAsRecent(row, now, filter.notSeenForDays) && NameMatches(row, pattern, cases);
    }
    return count;
}

ProfilesKept CountProfilesKept(const std::vector<NetworkProfile>& profiles, const RowFilter& filter,
                               const CaseMapping& cases, const LocalTime& now) {
    const std::optional<Utf8Text> pattern = UpperPattern(filter, cases);
    ProfilesKept kept;
    for (const NetworkProfile& profile : profiles) {
        if (!NameMatches(profile, pattern, cases) || IsStaleProfile(profile, now, filter.notSeenForDays)) continue;
        if (profile.connected != false) {
            ++kept.connected;
        } else if (!profile.lastConnected) {
            ++kept.undated;
        } else {
            ++kept.recent;
        }
    }
    return kept;
}

}  // namespace tarvex

#include "console/row_filter.h"

#include "console/utf8.h"

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

std::vector<ConnectionRow> FilterRows(const std::vector<ConnectionRow>& rows, const RowFilter& filter,
                                  const CaseMapping& cases) {
    const Utf8Text pattern = filter.namePattern ? cases.Upper(*filter.namePattern) : Utf8Text();
    std::vector<ConnectionRow> kept;
    for (const ConnectionRow& row : rows) {
        if (filter.staleOnly && !IsStale(row.adapter)) continue;
        if (filter.namePattern && !MatchesWildcard(pattern, cases.Upper(row.texts.connection))) continue;
        kept.push_back(row);
    }
    return kept;
}

}  // namespace tarvex

#include "console/row_filter.h"

#include "console/utf8.h"

#include <algorithm>

namespace tarvex {

namespace {

char32_t FoldCase(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
    // Latin-1 and the Latin Extended-A pairs, as connection names use them.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c >= 0x100 && c <= 0x17F && c % 2 == 1 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) return c - 1;
    return c;
}

}  // namespace

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
        } else if (pi < p.size() && (p[pi] == U'?' || FoldCase(p[pi]) == FoldCase(t[ti]))) {
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

bool SameText(const Utf8Text& a, const Utf8Text& b) {
    const std::u32string first = DecodeUtf8(a);
    const std::u32string second = DecodeUtf8(b);
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [](char32_t x, char32_t y) { return FoldCase(x) == FoldCase(y); });
}

std::vector<ListedRow> FilterRows(const std::vector<ListedRow>& rows, const RowFilter& filter) {
    std::vector<ListedRow> kept;
    for (const ListedRow& row : rows) {
        if (filter.staleOnly && !IsStale(row.adapter)) continue;
        if (filter.namePattern && !MatchesWildcard(*filter.namePattern, row.connection)) continue;
        kept.push_back(row);
    }
    return kept;
}

}  // namespace tarvex

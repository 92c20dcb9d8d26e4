#include "console/near_words.h"

#include <algorithm>

namespace tarvex {

namespace {

constexpr std::size_t kFarthest = 2;

// Optimal string alignment distance: insertions, deletions, substitutions
// and swaps of neighbours, each one edit.
std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> NearestWord(const std::string& word, const std::vector<std::string>& candidates) {
    std::optional<std::string> nearest;
    std::size_t best = kFarthest + 1;
    bool tie = false;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = Distance(word, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
            tie = false;
        } else if (distance == best) {
            tie = true;
        }
    }
    if (tie) return std::nullopt;
    return nearest;
}

}  // namespace tarvex

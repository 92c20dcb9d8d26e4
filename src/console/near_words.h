#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// The word among candidates nearest to word, when one is within two edits
// (a letter left out, added, changed, or two swapped): the word meant by a
// near miss such as "lsit" or "--stael". Nothing when none is that near,
// or when two are equally near.
std::optional<std::string> NearestWord(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace tarvex

#pragma once

#include <string>
#include <vector>

namespace tarvex {

// Registry names compare without regard to case (ASCII and Latin-1 letters).
std::string FoldCase(const std::string& name);
// The same for UTF-16 names, and Cyrillic letters too.
std::u16string FoldCase(const std::u16string& name);

// The non-empty levels of a backslash-separated key path.
template <typename Text>
std::vector<Text> SplitKeyPath(const Text& path) {
    std::vector<Text> levels;
    typename Text::size_type start = 0;
    while (start <= path.size()) {
        auto end = path.find('\\', start);
        if (end == Text::npos) end = path.size();
        if (end > start) levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

}  // namespace tarvex

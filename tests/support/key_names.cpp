#include "support/key_names.h"

namespace tarvex {

std::string FoldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        auto byte = static_cast<unsigned char>(c);
        bool asciiLower = byte >= 'a' && byte <= 'z';
        bool latinLower = byte >= 0xE0 && byte <= 0xFE && byte != 0xF7;
        if (asciiLower || latinLower) c = static_cast<char>(byte - 0x20);
    }
    return folded;
}

std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> levels;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        auto end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

}  // namespace tarvex

#pragma once

#include <string>
#include <vector>

namespace tarvex {

// Registry names compare without regard to case (ASCII and Latin-1 letters).
std::string FoldCase(const std::string& name);
// The non-empty levels of a backslash-separated key path.
std::vector<std::string> SplitKeyPath(const std::string& path);

}  // namespace tarvex

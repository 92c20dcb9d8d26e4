#pragma once

#include "export/wide_key.h"

#include <string>
#include <vector>

namespace tarvex {

struct Version5File {
    std::string bytes;            // UTF-16LE, its byte-order mark first
    bool holdsEverything = true;  // false when a name no line can hold was left out
};

// The file regedit and reg import read back into these trees, on every
// Windows since 2000: the header, then for each key its line, a line per
// value and an empty line, its subkeys depth-first after it. Every byte
// comes back, but that text data lacking its closing NUL gains one, as both
// importers add it. A value whose name holds a line break or a NUL is left
// out, and so is a key whose name does, with its subtree.
Version5File Version5FileOf(const std::vector<WideTree>& trees);

}  // namespace tarvex

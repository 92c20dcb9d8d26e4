#pragma once

#include <cstdint>

namespace tarvex {

// What the file system tells of one open file, as far as a backup asks.
struct FileLinks {
    bool known = false;  // both answers could be read
    bool reparsePoint = false;
    std::uint32_t reparseTag = 0;
    std::uint32_t linkCount = 1;
};

// Whether writing through the name could change a file other users reach by
// another name: a reparse point that stands for another name (symbolic
// link, junction, mount point), one whose tag cannot be read, or a second
// hard link. Other reparse points, such as cloud placeholders and
// deduplicated files, are files like any other.
bool LeadsToAnotherName(const FileLinks& links);

}  // namespace tarvex

#include "export/backup_files.h"

#include <algorithm>
#include <array>

namespace tarvex {

namespace {

// On the stack: a heap block this size, taken and freed for every key
// appended, had the heap commit and release its pages each time.
constexpr std::size_t kChunkSize = 4 * 1024;

}  // namespace

bool FileContains(InputFile& file, const std::string& text) {
    if (text.empty()) return true;
    // The window keeps the last text.size() - 1 bytes of the previous chunk,
    // so an occurrence split between two reads is still found.
    std::string window;
    std::array<char, kChunkSize> chunk;
    for (;;) {
        std::size_t read = file.Read(chunk.data(), chunk.size());
        if (read == 0) return false;
        window.append(chunk.data(), read);
        if (window.find(text) != std::string::npos) return true;
        window.erase(0, window.size() - std::min(window.size(), text.size() - 1));
    }
}

}  // namespace tarvex

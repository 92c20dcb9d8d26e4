#include "export/backup_files.h"

#include <algorithm>
#include <memory>

namespace tarvex {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

}  // namespace

bool FileContains(InputFile& file, const std::string& text) {
    if (text.empty()) return true;
    // The window keeps the last text.size() - 1 bytes of the previous chunk,
    // so an occurrence split between two reads is still found.
    std::string window;
    auto chunk = std::make_unique_for_overwrite<char[]>(kChunkSize);
    for (;;) {
        std::size_t read = file.Read(chunk.get(), kChunkSize);
        if (read == 0) return false;
        window.append(chunk.get(), read);
        if (window.find(text) != std::string::npos) return true;
        window.erase(0, window.size() - std::min(window.size(), text.size() - 1));
    }
}

}  // namespace tarvex

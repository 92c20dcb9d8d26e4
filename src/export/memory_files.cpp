#include "export/memory_files.h"

#include <algorithm>
#include <utility>

namespace tarvex {

class MemoryFiles::File final : public OutputFile {
public:
    File(MemoryFiles& files, std::string& content) : files_(files), content_(content) {}

    bool Write(const std::string& bytes) override {
        std::size_t fits = std::min(bytes.size(), files_.freeSpace_);
        content_.append(bytes, 0, fits);
        files_.freeSpace_ -= fits;
        return fits == bytes.size();
    }

    bool Close() override { return !std::exchange(files_.failNextClose_, false); }

private:
    MemoryFiles& files_;
    std::string& content_;
};

std::optional<std::string> MemoryFiles::ReadWhole(const std::string& path) {
    ++readCount_;
    return Content(path);
}

std::unique_ptr<OutputFile> MemoryFiles::Open(const std::string& path, bool append) {
    ++openCount_;
    std::string folder = path.substr(0, path.rfind('\\') + 1);
    if (!folders_.count(folder) || readOnly_.count(path)) return nullptr;
    std::string& content = files_[path];
    if (!append) content.clear();
    return std::make_unique<File>(*this, content);
}

std::optional<std::string> MemoryFiles::Content(const std::string& path) const {
    auto file = files_.find(path);
    if (file == files_.end()) return std::nullopt;
    return file->second;
}

}  // namespace tarvex

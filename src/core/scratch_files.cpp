#include "core/scratch_files.h"

#include <algorithm>
#include <cstring>

namespace tarvex {

namespace {

class ScratchFile final : public OutputFile {
public:
    explicit ScratchFile(std::string& content) : content_(content) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, content_.size() - std::min(read_, content_.size()));
        std::memcpy(buffer, content_.data() + read_, count);
        read_ += count;
        return count;
    }
    bool IsLinked() const override { return false; }
    bool Write(const std::string& bytes) override {
        content_ += bytes;
        return true;
    }
    bool Close() override { return true; }

private:
    std::string& content_;
    std::size_t read_ = 0;
};

}  // namespace

std::unique_ptr<OutputFile> ScratchFiles::Open(const Utf8Text& path, bool append) {
    if (!append && files_.count(path)) return nullptr;
    return std::make_unique<ScratchFile>(files_[path]);
}

bool ScratchFiles::Replace(const Utf8Text& from, const Utf8Text& to) {
    auto source = files_.find(from);
    if (source == files_.end()) return false;
    files_[to] = std::move(source->second);
    files_.erase(from);
    return true;
}

RenameResult ScratchFiles::Rename(const Utf8Text& from, const Utf8Text& to) {
    if (files_.count(to)) return RenameResult::NameTaken;
    return Replace(from, to) ? RenameResult::Done : RenameResult::Failed;
}

std::optional<std::uint64_t> ScratchFiles::SizeOf(const Utf8Text& path) {
    auto file = files_.find(path);
    if (file == files_.end()) return std::nullopt;
    return file->second.size();
}

bool ScratchFiles::CutBack(const Utf8Text& path, std::uint64_t length) {
    auto file = files_.find(path);
    if (file == files_.end() || file->second.size() < length) return false;
    file->second.resize(length);
    return true;
}

}  // namespace tarvex

#include "support/memory_files.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tarvex {

class MemoryFiles::File final : public OutputFile {
public:
    File(MemoryFiles& files, std::string& content, bool linked, bool faulty)
        : files_(files), content_(content), start_(content.size()), linked_(linked), faulty_(faulty) {}

    bool IsLinked() const override { return linked_; }

    std::size_t Read(char* buffer, std::size_t size) override {
        ++files_.readCount_;
        std::size_t count = std::min(size, content_.size() - std::min(readOffset_, content_.size()));
        std::memcpy(buffer, content_.data() + readOffset_, count);
        readOffset_ += count;
        files_.bytesRead_ += count;
        return count;
    }

    bool Write(const std::string& bytes) override {
        if (failed_) return false;
        if (!faulty_) {
            content_ += bytes;
            return true;
        }
        if (bytes.size() <= files_.freeSpace_) {
            content_ += bytes;
            files_.freeSpace_ -= bytes.size();
            return true;
        }
        failed_ = true;
        files_.freeSpace_ += content_.size() - start_;
        content_.resize(start_);
        return false;
    }

    bool Close() override { return !faulty_ || !std::exchange(files_.failNextClose_, false); }

private:
    MemoryFiles& files_;
    std::string& content_;
    std::size_t start_;
    bool linked_;
    bool faulty_;
    std::size_t readOffset_ = 0;
    bool failed_ = false;
};

const std::string& MemoryFiles::Resolve(const std::string& path) const {
    auto link = links_.find(path);
    return link == links_.end() ? path : link->second;
}

std::unique_ptr<OutputFile> MemoryFiles::Open(const std::string& path, bool append) {
    ++opensOf_[path];
    if (Faulty(path) && ++openCount_ >= failOpensFrom_) return nullptr;
    std::string folder = path.substr(0, path.rfind('\\') + 1);
    if (!folders_.count(folder) || readOnly_.count(path)) return nullptr;
    if (!append && (files_.count(path) || links_.count(path))) return nullptr;
    return std::make_unique<File>(*this, files_[Resolve(path)], links_.count(path) != 0, Faulty(path));
}

bool MemoryFiles::Replace(const std::string& from, const std::string& to) {
    auto source = files_.find(from);
    if (std::exchange(failNextReplace_, false) || source == files_.end() || readOnly_.count(to)) return false;
    links_.erase(to);  // the name is replaced, not what it led to
    files_[to] = std::move(source->second);
    files_.erase(from);
    return true;
}

RenameResult MemoryFiles::Rename(const std::string& from, const std::string& to) {
    auto source = files_.find(from);
    if (failRenames_ || source == files_.end()) return RenameResult::Failed;
    if (files_.count(to) || links_.count(to)) return RenameResult::NameTaken;
    files_[to] = std::move(source->second);
    files_.erase(from);
    return RenameResult::Done;
}

PathKind MemoryFiles::KindOf(const std::string& path) {
    if (folders_.count(path) || folders_.count(path + '\\')) return PathKind::Folder;
    return files_.count(Resolve(path)) ? PathKind::File : PathKind::Missing;
}

void MemoryFiles::Remove(const std::string& path) {
    if (links_.erase(path)) return;
    if (!readOnly_.count(path)) files_.erase(path);
}

std::optional<std::uint64_t> MemoryFiles::SizeOf(const std::string& path) {
    auto file = files_.find(Resolve(path));
    if (file == files_.end()) return std::nullopt;
    return file->second.size();
}

bool MemoryFiles::CutBack(const std::string& path, std::uint64_t length) {
    auto file = files_.find(path);
    if (links_.count(path) || readOnly_.count(path) || file == files_.end() || file->second.size() < length) return false;
    if (freeSpace_ != std::numeric_limits<std::size_t>::max()) freeSpace_ += file->second.size() - length;
    file->second.resize(length);
    return true;
}

std::string MemoryFiles::FullPathOf(const std::string& path) {
    std::string full = path;
    for (char& c : full) {
        if (c == '/') c = '\\';
    }
    const bool whole = (full.size() > 1 && full[1] == ':') || full.rfind("\\\\", 0) == 0;
    if (!whole) full = "C:\\Work\\" + full;
    for (std::size_t at; (at = full.find("\\.\\")) != std::string::npos;) full.erase(at, 2);
    if (full.size() > 2 && full.compare(full.size() - 2, 2, "\\.") == 0) full.resize(full.size() - 2);
    return full;
}

std::optional<std::string> MemoryFiles::Content(const std::string& path) const {
    auto file = files_.find(Resolve(path));
    if (file == files_.end()) return std::nullopt;
    return file->second;
}

}  // namespace tarvex

#pragma once

#include "export/backup_files.h"

#include <cstddef>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace tarvex {

// Files held in memory, for tests and benchmarks: folders that must exist,
// read-only files, a disk that fills up, a close, replace or rename that fails,
// and names that lead to another file's content.
class MemoryFiles final : public BackupFiles {
public:
    std::unique_ptr<OutputFile> Open(const std::string& path, bool append) override;
    bool Replace(const std::string& from, const std::string& to) override;
    RenameResult Rename(const std::string& from, const std::string& to) override;
    PathKind KindOf(const std::string& path) override;
    void Remove(const std::string& path) override;
    std::optional<std::uint64_t> SizeOf(const std::string& path) override;
    bool CutBack(const std::string& path, std::uint64_t length) override;
    // From the current folder, C:\Work\, with backslashes; "." names the folder it is in.
    std::string FullPathOf(const std::string& path) override;

    // A folder path ends with a backslash; files can only be opened in one.
    void AddFolder(const std::string& folder) { folders_.insert(folder); }
    void SetContent(const std::string& path, const std::string& content) { files_[path] = content; }
    void SetReadOnly(const std::string& path) { readOnly_.insert(path); }
    // Bytes that can still be written, across all files.
    void SetFreeSpace(std::size_t bytes) { freeSpace_ = bytes; }
    void FailNextClose() { failNextClose_ = true; }
    void FailNextReplace() { failNextReplace_ = true; }
    void FailRenames() { failRenames_ = true; }
    // The n-th open for writing, counted from 1, and every later one fail: a disk that went away.
    void FailOpensFrom(int n) { failOpensFrom_ = n; }
    // From now on the faults above strike only the file of this name (and
    // opens are counted only for it): the others are written as on a sound disk.
    void LimitFaultsTo(const std::string& path) { faultsOnly_ = path; }
    // A symbolic link, junction or second hard link at path: what is written
    // through it lands in target, as on the platform.
    void AddLink(const std::string& path, const std::string& target) { links_[path] = target; }

    std::optional<std::string> Content(const std::string& path) const;
    int OpenCount() const { return openCount_; }
    int OpenCountOf(const std::string& path) const { return opensOf_.count(path) ? opensOf_.at(path) : 0; }
    int ReadCount() const { return readCount_; }
    std::size_t BytesRead() const { return bytesRead_; }

private:
    class File;

    const std::string& Resolve(const std::string& path) const;
    bool Faulty(const std::string& path) const { return !faultsOnly_ || *faultsOnly_ == path; }

    std::set<std::string> folders_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> links_;
    std::set<std::string> readOnly_;
    std::size_t freeSpace_ = std::numeric_limits<std::size_t>::max();
    bool failNextClose_ = false;
    bool failNextReplace_ = false;
    bool failRenames_ = false;
    int failOpensFrom_ = std::numeric_limits<int>::max();
    std::optional<std::string> faultsOnly_;
    int openCount_ = 0;
    std::map<std::string, int> opensOf_;
    int readCount_ = 0;
    std::size_t bytesRead_ = 0;
};

}  // namespace tarvex

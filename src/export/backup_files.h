#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tarvex {

// One open backup file. Write and Close report whether the bytes reached it.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool Write(const std::string& bytes) = 0;
    virtual bool Close() = 0;
};

// The file calls the export makes; paths are UTF-8, contents raw bytes.
class BackupFiles {
public:
    virtual ~BackupFiles() = default;
    // The whole file, or nothing when it is missing or cannot be read.
    virtual std::optional<std::string> ReadWhole(const std::string& path) = 0;
    // Opens for appending (created when missing) or for output (created or
    // emptied); nullptr when the file cannot be opened.
    virtual std::unique_ptr<OutputFile> Open(const std::string& path, bool append) = 0;
};

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarvex {

// A file read from its start, chunk after chunk.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Up to size bytes into buffer; 0 at the end of the file or when it cannot be read.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// One open backup file: read from its start, written at its end. Write and
// Close report whether the bytes reached it; Close returns only once they
// are on the disk. A failed write takes back everything written since the
// open, so that no file ends in a partial block.
class OutputFile : public InputFile {
public:
    // True when the name opened stands for another name (symbolic link,
    // junction, mount point), cannot be told apart from one, or is one of
    // several hard links: writing would change another file.
    virtual bool IsLinked() const = 0;
    virtual bool Write(const std::string& bytes) = 0;
    virtual bool Close() = 0;
};

enum class PathKind { Missing, Folder, File };
enum class RenameResult { Done, NameTaken, Failed };

// The file calls the export makes; contents are raw bytes.
class BackupFiles {
public:
    virtual ~BackupFiles() = default;
    // Opens for reading and appending (created when missing) or creates a
    // new file (and fails when the name exists); nullptr when the file cannot
    // be opened. Neither follows a link at the name nor empties anything.
    virtual std::unique_ptr<OutputFile> Open(const Utf8Text& path, bool append) = 0;
    // Puts from in the place of to in one step; false leaves both as they were.
    virtual bool Replace(const Utf8Text& from, const Utf8Text& to) = 0;
    // Gives from the name to, which must be free: NameTaken leaves both as they were.
    virtual RenameResult Rename(const Utf8Text& from, const Utf8Text& to) = 0;
    // What the path names; a path that cannot be looked at counts as missing.
    virtual PathKind KindOf(const Utf8Text& path) = 0;
    // Removes the name: a link goes, what it leads to stays.
    virtual void Remove(const Utf8Text& path) = 0;
    // The file's length in bytes; nothing when there is no file of that name.
    virtual std::optional<std::uint64_t> SizeOf(const Utf8Text& path) = 0;
    // The path as the system names it: whole (from the drive or share), with backslashes.
    virtual Utf8Text FullPathOf(const Utf8Text& path) = 0;
    // Cuts the file back to its first length bytes, on the disk when this
    // returns, never through a link; false when it cannot.
    virtual bool CutBack(const Utf8Text& path, std::uint64_t length) = 0;
};

// Whether the file holds text anywhere, reading only as far as its first
// occurrence. A file that cannot be read holds nothing.
bool FileContains(InputFile& file, const std::string& text);

}  // namespace tarvex

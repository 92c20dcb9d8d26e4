#include "win32/win32_backup_files.h"

#include "export/file_links.h"
#include "win32/handle_writes.h"
#include "win32/unique_handles.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tarvex {

namespace {

// What the handle is, not what its name may lead to. The two Ex classes
// ask the file alone; GetFileInformationByHandle would also ask the volume.
bool IsLinkedFile(HANDLE file) {
    FILE_STANDARD_INFO standard{};
    FILE_ATTRIBUTE_TAG_INFO tag{};
    FileLinks links;
    links.known = GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) &&
                  GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag);
    links.linkCount = standard.NumberOfLinks;
    links.reparsePoint = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    links.reparseTag = tag.ReparseTag;
    return LeadsToAnotherName(links);
}

// Writes at the end of the file; start is where this open began.
class Win32OutputFile final : public OutputFile {
public:
    Win32OutputFile(UniqueFile file, LARGE_INTEGER start) : file_(std::move(file)), start_(start) {}

    bool IsLinked() const override { return IsLinkedFile(file_.get()); }

    // Reads from where the last read ended, then goes back to the end for the writes.
    std::size_t Read(char* buffer, std::size_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(readOffset_);
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
        if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
            !ReadFile(file_.get(), buffer, chunk, &read, nullptr)) {
            read = 0;
        }
        readOffset_ += read;
        SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_END);
        return read;
    }

    bool Write(const std::string& bytes) override {
        if (failed_) return false;
        return WriteToFile(file_.get(), bytes.data(), bytes.size()) == ERROR_SUCCESS || TakeBack();
    }

    // The backup must be on the disk before the key it saves is deleted.
    bool Close() override {
        bool flushed = FlushFileBuffers(file_.get()) != FALSE;
        return file_.Close() && flushed;
    }

private:
    // A partial block would run into the next backup appended after it and
    // spoil the import of both: cut the file back to where this open began.
    bool TakeBack() {
        failed_ = true;
        if (SetFilePointerEx(file_.get(), start_, nullptr, FILE_BEGIN)) SetEndOfFile(file_.get());
        return false;
    }

    UniqueFile file_;
    LARGE_INTEGER start_;
    std::uint64_t readOffset_ = 0;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<OutputFile> Win32BackupFiles::Open(const std::string& path, bool append) {
    // Others may read a backup while it is written, never write it, so the
    // end found here stays the end until the file is closed. A reparse point
    // is opened as itself, so its target is neither created nor emptied. One
    // open serves the header decision's read and the writes.
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                append ? OPEN_ALWAYS : CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.isOpen()) return nullptr;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &start, FILE_END)) return nullptr;
    return std::make_unique<Win32OutputFile>(std::move(file), start);
}

RenameResult Win32BackupFiles::Rename(const std::string& from, const std::string& to) {
    if (MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return RenameResult::Done;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? RenameResult::NameTaken
                                                                        : RenameResult::Failed;
}

PathKind Win32BackupFiles::KindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

bool Win32BackupFiles::Replace(const std::string& from, const std::string& to) {
    return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Win32BackupFiles::Remove(const std::string& path) { DeleteFileW(Utf8ToWide(path).c_str()); }

std::optional<std::uint64_t> Win32BackupFiles::SizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

bool Win32BackupFiles::CutBack(const std::string& path, std::uint64_t length) {
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.isOpen() || IsLinkedFile(file.get())) return false;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(length);
    const bool cut = SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()) &&
                     FlushFileBuffers(file.get());
    return file.Close() && cut;
}

std::string Win32BackupFiles::FullPathOf(const std::string& path) {
    const std::wstring given = Utf8ToWide(path);
    const DWORD length = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(given.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return WideToUtf8(full);
}

}  // namespace tarvex

#include "platform/backup_files.h"

#include "platform/unique_file_handle.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tarvex {

namespace {

class Win32OutputFile final : public OutputFile {
public:
    explicit Win32OutputFile(UniqueFileHandle file) : file_(std::move(file)) {}

    bool Write(const std::string& bytes) override {
        const char* next = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, std::numeric_limits<DWORD>::max()));
            DWORD written = 0;
            if (!WriteFile(file_.get(), next, chunk, &written, nullptr) || written == 0) return false;
            next += written;
            left -= written;
        }
        return true;
    }

    bool Close() override { return file_.Close(); }

private:
    UniqueFileHandle file_;
};

}  // namespace

std::optional<std::string> Win32BackupFiles::ReadWhole(const std::string& path) {
    UniqueFileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return std::nullopt;
    std::string content;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
        if (read == 0) return content;
        content.append(buffer, read);
    }
    return std::nullopt;
}

std::unique_ptr<OutputFile> Win32BackupFiles::Open(const std::string& path, bool append) {
    // Others may read a backup while it is written, never write it.
    UniqueFileHandle file(CreateFileW(Utf8ToWide(path).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) return nullptr;
    return std::make_unique<Win32OutputFile>(std::move(file));
}

}  // namespace tarvex

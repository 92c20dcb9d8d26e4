#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"

#include <exception>
#include <optional>
#include <utility>
#include <memory>

namespace tarvex {

namespace {

constexpr char kHeaderMark[] = "REGEDIT4";

// One top-level export: the header is decided once and the file stays open
// for the whole tree, so the cost grows with the tree and not its square.
// Every block is written before the key's subkeys are listed.
class TreeExport {
public:
    TreeExport(const ExportPlatform& platform, RootKey root, const std::string& filePath, bool append)
        : platform_(platform), root_(root), rootPrefix_(RootPrefix(root)), filePath_(filePath), append_(append) {
        if (append) {
            std::optional<std::string> content = platform.files.ReadWhole(filePath);
            if (content && content->find(kHeaderMark) != std::string::npos) header_.clear();
        }
    }

    void Key(const std::string& keyPath, bool recurse) {
        ValueCollection values = EnumValues(platform_.registry, root_, keyPath);
        // A block for a key that is not there would make the import create it.
        if (values.openStatus == kFileNotFound) return;

        std::string block = std::exchange(header_, "") + KeyLine(rootPrefix_, keyPath);
        for (const ValueEntry& entry : values.entries) block += ValueLine(entry);
        block += kLineEnd;
        Write(block);

        if (!recurse) return;
        for (const std::string& name : EnumKeys(platform_.registry, root_, keyPath).names) {
            Key(keyPath.empty() ? name : keyPath + "\\" + name, true);
        }
    }

    void Finish() {
        // A replaced file is replaced even when its key is missing.
        if (!openTried_ && !append_) Write(header_);
        if (file_ && !file_->Close()) BackupError = true;
    }

private:
    void Write(const std::string& bytes) {
        if (!openTried_) {
            openTried_ = true;
            file_ = platform_.files.Open(filePath_, append_);
            if (!file_) BackupError = true;
        }
        if (file_ && !file_->Write(bytes)) BackupError = true;
    }

    const ExportPlatform& platform_;
    RootKey root_;
    std::string rootPrefix_;
    const std::string& filePath_;
    bool append_;
    std::string header_ = kRegeditHeader;
    std::unique_ptr<OutputFile> file_;
    bool openTried_ = false;
};

}  // namespace

void ExportKey(const ExportPlatform& platform, RootKey root, const std::string& keyPath,
               const std::string& filePath, bool recurse, bool append) {
    HourglassScope hourglass(platform.pointer);
    try {
        TreeExport tree(platform, root, filePath, append);
        tree.Key(keyPath, recurse);
        tree.Finish();
    } catch (const std::exception&) {
        // Out of memory part-way: whatever was written is incomplete.
        BackupError = true;
    }
}

}  // namespace tarvex

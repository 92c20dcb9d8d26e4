#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"
#include "registry/unique_key.h"

#include <exception>
#include <memory>
#include <utility>

namespace tarvex {

namespace {

// One top-level export: the file is opened once, the header decided once,
// and the file stays open for the whole tree, so the cost grows with the
// tree and not its square.
// Every key is opened once, below its parent's open handle rather than from
// the root; its block is written before its subkeys are listed.
class TreeExport {
public:
    TreeExport(const ExportPlatform& platform, RootKey root, const std::string& filePath, bool append)
        : platform_(platform), rootPrefix_(RootPrefix(root)), filePath_(filePath), append_(append) {}

    // Opens name below parent, an open key or the root; keyPath is its path
    // below the root. A key its parent listed must be there: only the
    // top-level key of a call may be missing without loss.
    void Key(KeyHandle parent, const std::string& name, const std::string& keyPath, bool recurse, bool listed) {
        UniqueKey key(platform_.registry);
        Status status = key.Open(parent, name, kKeyRead);
        if (status != kSuccess && (listed || status != kFileNotFound)) BackupError = true;
        // A block for a key that is not there would make the import create it.
        if (status == kFileNotFound) return;

        std::string block = KeyLine(rootPrefix_, keyPath);
        if (key.isOpen()) {
            for (const ValueEntry& entry : EnumValues(platform_.registry, key.get(), "")) block += ValueLine(entry);
        }
        block += kLineEnd;
        Write(block);

        if (!recurse || !key.isOpen()) return;
        for (const std::string& subkey : EnumKeys(platform_.registry, key.get(), "")) {
            Key(key.get(), subkey, keyPath.empty() ? subkey : keyPath + "\\" + subkey, true, true);
        }
    }

    // True when every byte meant for the file reached it.
    bool Finish() {
        // A replaced file is replaced even when its key is missing.
        if (!openTried_ && !append_) Write("");
        if (file_ && !file_->Close()) FileFailed();
        return fileComplete_;
    }

private:
    // The file is opened at the first block, and the header decided then,
    // through the same open: it goes in front of that block unless an
    // appended file holds the mark already.
    void Write(const std::string& bytes) {
        if (openTried_) {
            if (file_ && !file_->Write(bytes)) FileFailed();
            return;
        }
        openTried_ = true;
        if (!append_) platform_.files.Remove(filePath_);
        file_ = platform_.files.Open(filePath_, append_);
        // An elevated write through a name another user planted could reach any file.
        if (file_ && file_->IsLinked()) file_.reset();
        if (!file_) {
            FileFailed();
            return;
        }
        const bool marked = append_ && FileContains(*file_, kRegeditMark);
        if (!file_->Write((marked ? "" : kRegeditHeader) + bytes)) FileFailed();
    }

    void FileFailed() {
        BackupError = true;
        fileComplete_ = false;
    }

    const ExportPlatform& platform_;
    std::string rootPrefix_;
    const std::string& filePath_;
    bool append_;
    std::unique_ptr<OutputFile> file_;
    bool openTried_ = false;
    bool fileComplete_ = true;
};

}  // namespace

bool ExportKey(const ExportPlatform& platform, RootKey root, const std::string& keyPath,
               const std::string& filePath, bool recurse, bool append) {
    HourglassScope hourglass(platform.pointer);
    try {
        TreeExport tree(platform, root, filePath, append);
        tree.Key(root, keyPath, keyPath, recurse, false);
        return tree.Finish();
    } catch (const std::exception&) {
        // Out of memory part-way: whatever was written is incomplete.
        BackupError = true;
        return false;
    }
}

}  // namespace tarvex

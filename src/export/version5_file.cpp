#include "export/version5_file.h"

#include "export/version5_lines.h"

namespace tarvex {

namespace {

constexpr char kByteOrderMark[] = "\xFF\xFE";

class FileText {
public:
    void Key(RootKey root, const WideText& keyPath, const WideKey& key) {
        // Its subkeys' lines would name it too.
        if (!FitsOnALine(key.name)) {
            holdsEverything_ = false;
            return;
        }
        text_ += Version5KeyLine(root, keyPath);
        for (const WideValue& value : key.values) {
            if (FitsOnALine(value.name)) {
                text_ += Version5ValueLine(value);
            } else {
                holdsEverything_ = false;
            }
        }
        text_ += kVersion5LineEnd;
        for (const WideKey& subkey : key.subkeys) Key(root, keyPath + u"\\" + subkey.name, subkey);
    }

    Version5File File() const {
        Version5File file{kByteOrderMark, holdsEverything_};
        file.bytes.reserve(file.bytes.size() + 2 * text_.size());
        for (char16_t unit : text_) {
            file.bytes += static_cast<char>(unit & 0xFF);
            file.bytes += static_cast<char>(unit >> 8);
        }
        return file;
    }

private:
    WideText text_ = kVersion5Header;
    bool holdsEverything_ = true;
};

}  // namespace

Version5File Version5FileOf(const std::vector<WideTree>& trees) {
    FileText text;
    for (const WideTree& tree : trees) text.Key(tree.root, tree.top.name, tree.top);
    return text.File();
}

}  // namespace tarvex

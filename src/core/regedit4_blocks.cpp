#include "core/regedit4_blocks.h"

#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"

#include <vector>

namespace tarvex {

namespace {

WideText UnitsOf(const std::vector<std::uint8_t>& bytes) {
    WideText units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return units;
}

class Blocks {
public:
    Blocks(const AnsiCodec& codec, RootKey root) : codec_(codec), prefix_(RootPrefix(root)) {}

    void Key(const AnsiText& path, const WideKey& key) {
        text += KeyLine(prefix_, path);
        for (const WideValue& value : key.values) Value(value);
        text += kLineEnd;
        for (const WideKey& subkey : key.subkeys) {
            // A stand-in name would restore as another key.
            if (!codec_.Carries(subkey.name)) {
                BackupError = true;
                continue;
            }
            Key(path + "\\" + codec_.ToAnsi(subkey.name), subkey);
        }
    }

    std::string text;

private:
    void Value(const WideValue& value) {
        if (!codec_.Carries(value.name)) {
            BackupError = true;
            return;
        }
        std::vector<std::uint8_t> bytes = value.bytes;
        if (IsTextType(value.type)) {
            // As the ANSI calls give it: stand-ins for what the code page lacks, an odd last byte dropped.
            const WideText units = UnitsOf(value.bytes);
            if (value.bytes.size() % 2 != 0 || !codec_.Carries(units)) BackupError = true;
            const AnsiText ansi = codec_.ToAnsi(units);
            bytes.assign(ansi.begin(), ansi.end());
        }
        text += ValueLine(ValueEntryOf(codec_.ToAnsi(value.name), value.type, std::move(bytes)));
    }

    const AnsiCodec& codec_;
    std::string prefix_;
};

}  // namespace

std::string Regedit4Blocks(const WideTree& tree, const AnsiText& keyPath, const AnsiCodec& codec) {
    Blocks blocks(codec, tree.root);
    blocks.Key(keyPath, tree.top);
    return std::move(blocks.text);
}

}  // namespace tarvex

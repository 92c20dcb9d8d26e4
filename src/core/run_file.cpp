#include "core/run_file.h"

#include "core/dated_file_name.h"
#include "export/read_wide_tree.h"
#include "export/version5_file.h"

#include <algorithm>

namespace tarvex {

namespace {

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

WideText UnitsOf(const std::vector<std::uint8_t>& bytes) {
    WideText units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) units += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return units;
}

// What the ANSI calls would give and the REGEDIT4 writer could not write back.
bool Fits(const AnsiCodec& codec, const WideKey& key) {
    for (const WideValue& value : key.values) {
        if (!codec.Carries(value.name)) return false;
        if (IsText(value.type) && (value.bytes.size() % 2 != 0 || !codec.Carries(UnitsOf(value.bytes)))) return false;
    }
    return std::all_of(key.subkeys.begin(), key.subkeys.end(), [&](const WideKey& subkey) {
        return codec.Carries(subkey.name) && Fits(codec, subkey);
    });
}

bool WriteNew(BackupFiles& files, const Utf8Text& path, const std::string& bytes) {
    std::unique_ptr<OutputFile> file = files.Open(path, false);
    if (!file || file->IsLinked()) return false;
    const bool written = file->Write(bytes);
    return file->Close() && written;
}

}  // namespace

std::vector<AnsiText> KeysToGo(const DeletionPlan& plan) {
    std::vector<AnsiText> keys;
    std::set<AnsiText> listed;
    const auto add = [&](const AnsiText& key) {
        if (listed.insert(key).second) keys.push_back(key);
    };
    for (const PlannedEntry& entry : plan.entries) {
        if (entry.keptWhole) continue;
        add(entry.key);
        for (const AnsiText& key : KeysAfter(entry)) add(key);
        if (entry.device) {
            for (const AnsiText& key : plan.devices[*entry.device].mayTakeWith) add(key);
        }
    }
    return keys;
}

RunFile::RunFile(const Services& services, const std::vector<AnsiText>& keys) : services_(services) {
    for (const AnsiText& key : keys) {
        WideTreeRead read = ReadWideTree(services.registry, kLocalMachine, services.codec.ToWide(key));
        const bool fits = !read.tree || Fits(services.codec, read.tree->top);
        const bool held = read.whole && (!read.tree || Version5FileOf({*read.tree}).holdsEverything);
        whole_ = whole_ && held;
        reads_.push_back({key, std::move(read.tree), read.whole, fits, held});
    }
}

const RunFile::KeyRead* RunFile::Find(const AnsiText& key) const {
    const auto read = std::find_if(reads_.begin(), reads_.end(), [&](const KeyRead& r) { return r.key == key; });
    return read == reads_.end() ? nullptr : &*read;
}

bool RunFile::FitsRegedit4(const AnsiText& key) const {
    const KeyRead* read = Find(key);
    return read == nullptr || read->fits;
}

bool RunFile::Holds(const AnsiText& key) const {
    const KeyRead* read = Find(key);
    return read != nullptr && read->held;
}

std::string RunFile::Bytes(const std::set<AnsiText>* only) const {
    std::vector<WideTree> trees;
    for (const KeyRead& read : reads_) {
        if (read.tree && (only == nullptr || only->count(read.key))) trees.push_back(*read.tree);
    }
    return Version5FileOf(trees).bytes;
}

std::optional<Utf8Text> RunFile::Write(const Utf8Text& backupFolder) {
    BackupFiles& files = services_.files;
    const LocalTime now = services_.clock.LocalNow();
    const std::string bytes = Bytes(nullptr);
    for (int attempt = 1; attempt <= kDatedNameAttempts; ++attempt) {
        const Utf8Text name = DatedFileName(backupFolder, kRunFileStem, now, attempt);
        if (files.KindOf(name) != PathKind::Missing) continue;
        if (WriteNew(files, name, bytes)) return file_ = name;
        files.Remove(name);
        return std::nullopt;
    }
    return std::nullopt;
}

bool RunFile::KeepOnly(const std::set<AnsiText>& reached) {
    if (!file_) return false;
    const bool all = std::all_of(reads_.begin(), reads_.end(), [&](const KeyRead& r) { return reached.count(r.key) != 0; });
    if (all) return true;
    BackupFiles& files = services_.files;
    const bool any = std::any_of(reads_.begin(), reads_.end(), [&](const KeyRead& r) { return reached.count(r.key) != 0; });
    if (!any) {
        files.Remove(*file_);
        file_.reset();
        return false;
    }
    // Written beside it first: the whole file stays until the cut one is on the disk.
    const Utf8Text draft = *file_ + ".tmp";
    files.Remove(draft);
    if (!WriteNew(files, draft, Bytes(&reached)) || !files.Replace(draft, *file_)) files.Remove(draft);
    return true;
}

}  // namespace tarvex

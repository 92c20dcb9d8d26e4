#include "export/read_wide_tree.h"

#include "registry/unique_key.h"

#include <utility>

namespace tarvex {

namespace {

// Key names are at most 255 characters, value names 16,383: buffers that
// hold the longest never meet 234 for a name.
constexpr std::uint32_t kKeyNameSize = 256;
constexpr std::uint32_t kValueNameSize = 16384;
constexpr std::size_t kFirstDataSize = 4096;

class TreeReader {
public:
    explicit TreeReader(RegistryApi& registry)
        : registry_(registry), valueName_(kValueNameSize), data_(kFirstDataSize) {}

    // The values of the open key, then each subkey it lists, opened below it.
    void Read(KeyHandle key, WideKey& into) {
        ReadValues(key, into.values);
        for (WideText& name : ListSubkeys(key)) {
            UniqueKey subkey(registry_);
            // Listed but not opened: deleted meanwhile, or locked. Either way it is lost.
            if (subkey.Open(key, name, kKeyRead) != kSuccess) {
                whole_ = false;
                continue;
            }
            WideKey& child = into.subkeys.emplace_back();
            child.name = std::move(name);
            Read(subkey.get(), child);
        }
    }

    bool whole() const { return whole_; }

private:
    std::vector<WideText> ListSubkeys(KeyHandle key) {
        std::vector<WideText> names;
        char16_t name[kKeyNameSize];
        for (std::uint32_t index = 0;; ++index) {
            std::uint32_t length = kKeyNameSize;
            const Status status = registry_.RegEnumKeyExW(key, index, name, length);
            if (status != kSuccess) {
                EndOfListing(status);
                return names;
            }
            names.emplace_back(name, length);
        }
    }

    void ReadValues(KeyHandle key, std::vector<WideValue>& values) {
        for (std::uint32_t index = 0;; ++index) {
            WideValue value;
            const Status status = ReadValueAt(key, index, value);
            if (status != kSuccess) {
                EndOfListing(status);
                return;
            }
            values.push_back(std::move(value));
        }
    }

    // The one place that meets 234: the data buffer grows to the size the
    // call reports and the value is read again, for as long as it grew
    // between the report and the read.
    Status ReadValueAt(KeyHandle key, std::uint32_t index, WideValue& value) {
        for (;;) {
            std::uint32_t nameLength = kValueNameSize;
            auto size = static_cast<std::uint32_t>(data_.size());
            const Status status =
                registry_.RegEnumValueW(key, index, valueName_.data(), nameLength, value.type, data_.data(), size);
            if (status == kMoreData && size > data_.size()) {
                data_.resize(size);
                continue;
            }
            if (status != kSuccess) return status;
            value.name.assign(valueName_.data(), nameLength);
            value.bytes.assign(data_.begin(), data_.begin() + size);
            return kSuccess;
        }
    }

    void EndOfListing(Status status) {
        if (status != kNoMoreItems) whole_ = false;
    }

    RegistryApi& registry_;
    std::vector<char16_t> valueName_;
    std::vector<std::uint8_t> data_;
    bool whole_ = true;
};

}  // namespace

WideTreeRead ReadWideTree(RegistryApi& registry, RootKey root, const WideText& path) {
    WideTreeRead read;
    UniqueKey top(registry);
    const Status status = top.Open(root, path, kKeyRead);
    // A missing key has nothing to lose, and a block for it would make an import create it.
    if (status == kFileNotFound) return read;
    if (status != kSuccess) {
        read.whole = false;
        return read;
    }
    TreeReader reader(registry);
    WideTree tree{root, {path, {}, {}}};
    reader.Read(top.get(), tree.top);
    read.tree = std::move(tree);
    read.whole = reader.whole();
    return read;
}

}  // namespace tarvex

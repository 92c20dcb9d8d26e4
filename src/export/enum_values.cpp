#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/open_for_listing.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tarvex {

namespace {

// Value names may be 16,383 characters long; a shorter buffer would end the
// listing at the first long name.
constexpr std::uint32_t kValueNameBufferSize = kLongestAnsiCharacter * 16383 + 1;
constexpr std::uint32_t kFirstDataSize = 4096;

bool HoldsLineBreakOrNul(const std::string& text) {
    return text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos;
}

ValueEntry Exact(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    ValueEntry entry;
    entry.kind = ValueKind::TypedBytes;
    entry.registryType = type;
    entry.bytes = std::move(bytes);
    return entry;
}

// Each type gets the shortest form that an import turns back into the same
// type and bytes; everything else keeps its exact bytes.
ValueEntry Convert(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    ValueEntry entry;
    switch (type) {
    case kRegSz: {
        std::string text(bytes.begin(), bytes.end());
        if (!text.empty() && text.back() == '\0') text.pop_back();
        if (HoldsLineBreakOrNul(text)) return Exact(type, std::move(bytes));
        entry.kind = ValueKind::Text;
        entry.text = std::move(text);
        return entry;
    }
    case kRegBinary:
        entry.kind = ValueKind::ByteArray;
        entry.bytes = std::move(bytes);
        return entry;
    case kRegDword:
        if (bytes.size() != 4) return Exact(type, std::move(bytes));
        entry.kind = ValueKind::Integer;
        entry.number = static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                                 std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
        return entry;
    default:
        return Exact(type, std::move(bytes));
    }
}

}  // namespace

ValueEntry ValueEntryOf(const AnsiText& name, std::uint32_t type, std::vector<std::uint8_t> bytes) {
    ValueEntry entry = Convert(type, std::move(bytes));
    entry.name = name;
    return entry;
}

std::vector<ValueEntry> EnumValues(ExportRegistry& registry, KeyHandle root, const std::string& keyPath) {
    std::vector<ValueEntry> result;
    UniqueKey opened(registry);
    KeyHandle key = OpenForListing(opened, root, keyPath);
    if (key == 0) return result;

    // On the stack: 32 KB from the heap for every key had it commit and
    // release its pages each time.
    std::array<char, kValueNameBufferSize> name;
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = kValueNameBufferSize;
        std::uint32_t type = kRegNone;
        data.assign(kFirstDataSize, 0);
        std::uint32_t dataSize = kFirstDataSize;
        Status status = registry.RegEnumValueA(key, index, name.data(), nameLength, type, data.data(), dataSize);
        if (status == kMoreData) {
            // One retry with exactly the reported size; a value that grew again in between is reported.
            data.assign(dataSize, 0);
            nameLength = kValueNameBufferSize;
            status = registry.RegEnumValueA(key, index, name.data(), nameLength, type, data.data(), dataSize);
        }
        if (status != kSuccess) {
            if (status != kNoMoreItems) BackupError = true;
            break;
        }
        // A stand-in name would restore as another value; stand-in characters in
        // text are the best the file can hold, and both are reported.
        AnsiFit fit = registry.ValueAnsiFit(key, index);
        if (fit != AnsiFit::Exact) BackupError = true;
        if (fit == AnsiFit::NameLost) continue;
        data.resize(std::min<std::size_t>(dataSize, data.size()));
        result.push_back(ValueEntryOf(AnsiText(name.data(), std::min(nameLength, kValueNameBufferSize)), type, data));
    }
    return result;
}

}  // namespace tarvex

#include "export/backup_error.h"
#include "export/list_values.h"
#include "export/mod_export.h"
#include "export/open_for_listing.h"

#include <vector>

namespace tarvex {

namespace {

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
    std::vector<ListedValue> values;
    if (!ListValues(registry, key, values)) BackupError = true;
    for (ListedValue& value : values) {
        // A stand-in name would restore as another value; stand-in characters in
        // text are the best the file can hold, and both are reported.
        if (value.fit != AnsiFit::Exact) BackupError = true;
        if (value.fit == AnsiFit::NameLost) continue;
        result.push_back(ValueEntryOf(value.name, value.type, std::move(value.bytes)));
    }
    return result;
}

}  // namespace tarvex

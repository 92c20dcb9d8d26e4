#include "export/list_values.h"

#include "export/mod_export.h"

#include <algorithm>
#include <array>

namespace tarvex {

namespace {

// Value names may be 16,383 characters long; a shorter buffer would end the
// listing at the first long name.
constexpr std::uint32_t kValueNameBufferSize = kLongestAnsiCharacter * 16383 + 1;
constexpr std::uint32_t kFirstDataSize = 4096;

}  // namespace

bool ListValues(ExportRegistry& registry, KeyHandle key, std::vector<ListedValue>& values) {
    // On the stack: 48 KB from the heap for every key had it commit and
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
            // One retry with exactly the reported size; a value that grew again in between breaks the listing.
            data.assign(dataSize, 0);
            nameLength = kValueNameBufferSize;
            status = registry.RegEnumValueA(key, index, name.data(), nameLength, type, data.data(), dataSize);
        }
        if (status != kSuccess) return status == kNoMoreItems;
        data.resize(std::min<std::size_t>(dataSize, data.size()));
        values.push_back({AnsiText(name.data(), std::min(nameLength, kValueNameBufferSize)), type, data,
                          registry.ValueAnsiFit(key, index)});
    }
}

}  // namespace tarvex

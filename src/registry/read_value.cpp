#include "registry/mod_reg.h"
#include "registry/unique_key.h"
#include "util/hex_byte.h"

#include <limits>
#include <new>
#include <optional>
#include <vector>

namespace tarvex {

namespace {

constexpr std::uint32_t kFirstBufferSize = 1024;
constexpr std::uint32_t kGrowthMargin = 1024;

// Queries until the data fits; the value may grow between the size report and the read.
std::optional<std::string> QueryGrowing(RegistryApi& registry, KeyHandle key, const std::string& valueName,
                                        std::uint32_t& type) {
    std::vector<std::uint8_t> buffer(kFirstBufferSize, 0);
    std::uint32_t size = kFirstBufferSize;
    Status status;
    while ((status = registry.RegQueryValueExA(key, valueName, type, buffer.data(), size)) == kMoreData) {
        std::uint64_t grown = std::uint64_t{size} + kGrowthMargin;
        if (grown > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
        size = static_cast<std::uint32_t>(grown);
        buffer.assign(size, 0);
    }
    if (status != kSuccess) return std::nullopt;
    if (size > buffer.size()) size = static_cast<std::uint32_t>(buffer.size());
    return std::string(buffer.begin(), buffer.begin() + size);
}

// A REG_DWORD's bytes, least significant first, as unsigned decimal digits.
// Longer data holds no 32-bit number: it keeps the hex form, every byte shown.
std::string DwordText(const std::string& data) {
    if (data.size() > 4) {
        std::string hex = "&h";
        for (auto byte = data.rbegin(); byte != data.rend(); ++byte) {
            AppendHexByte(hex, static_cast<std::uint8_t>(*byte), HexCase::Upper);
        }
        return hex;
    }
    std::uint32_t number = 0;
    for (auto byte = data.rbegin(); byte != data.rend(); ++byte) {
        number = (number << 8) | static_cast<unsigned char>(*byte);
    }
    return std::to_string(number);
}

}  // namespace

bool ReadOpenKeyValue(RegistryApi& registry, KeyHandle key, const std::string& valueName, std::string& valueText,
                      std::uint32_t& type) {
    valueText.clear();
    type = kRegNone;
    try {
        std::optional<std::string> data = QueryGrowing(registry, key, valueName, type);
        if (!data) return false;
        if (data->empty()) return true;
        // Only the one NUL that ends the data goes; a REG_MULTI_SZ keeps the one before it.
        if (data->back() == '\0') data->pop_back();

        switch (type) {
        case kRegSz:
        case kRegMultiSz:
            valueText = *data;
            break;
        case kRegBinary:
            valueText = BytesToHexList(*data);
            break;
        case kRegDword:
            valueText = DwordText(*data);
            break;
        default:
            break;
        }
        return true;
    } catch (const std::bad_alloc&) {
        valueText.clear();
        return false;
    }
}

bool ReadValueData(RegistryApi& registry, KeyHandle key, const AnsiText& valueName, std::uint32_t& type,
                   std::string& data) {
    type = kRegNone;
    try {
        std::optional<std::string> read = QueryGrowing(registry, key, valueName, type);
        if (!read) return false;
        data = std::move(*read);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::optional<std::uint32_t> DwordFromData(std::uint32_t type, const std::string& data) {
    if (type != kRegDword || data.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (auto byte = data.rbegin(); byte != data.rend(); ++byte) number = number << 8 | static_cast<unsigned char>(*byte);
    return number;
}

std::optional<std::uint32_t> ReadDwordValue(RegistryApi& registry, KeyHandle key, const AnsiText& valueName) {
    std::uint32_t type = kRegNone;
    std::string data;
    if (!ReadValueData(registry, key, valueName, type, data)) return std::nullopt;
    return DwordFromData(type, data);
}

bool ReadValue(RegistryApi& registry, RootKey root, const std::string& keyPath, const std::string& valueName,
               std::string& valueText) {
    valueText.clear();
    UniqueKey key(registry);
    if (key.Open(root, keyPath, kReadWriteMask) != kSuccess) return false;
    std::uint32_t type;
    return ReadOpenKeyValue(registry, key.get(), valueName, valueText, type);
}

}  // namespace tarvex

#pragma once

#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvex {

// The program's own status: the root name names no root key.
inline constexpr Status kUnknownRoot = 99;

// "HKLM" and the other short root names, any case; 0 for anything else.
RootKey RootKeyFromName(const AnsiText& name);

// Appends each subkey name of rootName\keyPath followed by a NUL, then one
// more NUL (two for a key without subkeys when list starts empty). Leaves
// list untouched when the key cannot be opened.
Status ListSubkeys(RegistryApi& registry, const AnsiText& rootName, const AnsiText& keyPath,
                   AnsiText& list);

// Reads one value as text. REG_SZ and REG_MULTI_SZ give their characters,
// REG_BINARY its hex list, REG_DWORD its unsigned decimal digits; other types
// give the empty text. A REG_DWORD of more than four bytes holds no 32-bit
// number and gives "&h" and all its bytes in hex, most significant first.
// Needs read and write rights on the key.
bool ReadValue(RegistryApi& registry, RootKey root, const AnsiText& keyPath, const AnsiText& valueName,
               AnsiText& valueText);

// As ReadValue, from a key the caller opened with kReadWriteMask, so that one
// open serves several values; type gets the value's registry type.
bool ReadOpenKeyValue(RegistryApi& registry, KeyHandle key, const AnsiText& valueName, AnsiText& valueText,
                      std::uint32_t& type);

// The value's type and its bytes as stored, from a key the caller opened
// to query values; false when it cannot be read.
bool ReadValueData(RegistryApi& registry, KeyHandle key, const AnsiText& valueName, std::uint32_t& type,
                   std::string& data);

// A REG_DWORD's number: four bytes, least significant first. Any other
// type or length holds none.
std::optional<std::uint32_t> DwordFromData(std::uint32_t type, const std::string& data);

// The REG_DWORD value's number, read from a key open to query values;
// nothing when it is missing, of another type or of another length.
std::optional<std::uint32_t> ReadDwordValue(RegistryApi& registry, KeyHandle key, const AnsiText& valueName);

// "01,0a,ff,00": every byte in lower-case hex followed by a comma, then "00".
std::string BytesToHexList(const std::string& data);

// Left-fills text with "0" to width; throws std::invalid_argument when text is longer.
std::string PadZeros(const std::string& text, int width);

// Deletes the key and its subtree and returns the deletion's status. A key
// that cannot be opened for reading and writing is left alone and gives 0.
Status DeleteKey(RegistryApi& registry, RootKey root, const AnsiText& keyPath);

// What DeleteKey did: whether the key opened, and the status of that open
// when it did not, else of the deletion.
struct KeyDeletion {
    bool opened = false;
    Status status = kSuccess;
};
KeyDeletion TryDeleteKey(RegistryApi& registry, RootKey root, const AnsiText& keyPath);

// Whether the key is not there: opening it gives "file not found", not some other refusal.
bool KeyIsMissing(RegistryApi& registry, RootKey root, const AnsiText& keyPath);

}  // namespace tarvex

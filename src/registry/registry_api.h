#pragma once

#include "util/encoded_text.h"

#include <cstdint>
#include <string>

namespace tarvex {

using Status = std::int32_t;
// Predefined roots as 32-bit values; open keys are opaque handles that may be
// wider (a pointer on 64-bit Windows).
using RootKey = std::uint32_t;
using KeyHandle = std::uint64_t;

inline constexpr RootKey kClassesRoot = 0x80000000;
inline constexpr RootKey kCurrentUser = 0x80000001;
inline constexpr RootKey kLocalMachine = 0x80000002;
inline constexpr RootKey kUsers = 0x80000003;
inline constexpr RootKey kCurrentConfig = 0x80000005;
inline constexpr RootKey kDynData = 0x80000006;

inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;

inline constexpr std::uint32_t kNoOptions = 0;
inline constexpr std::uint32_t kKeySetValue = 0x2;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x8;
inline constexpr std::uint32_t kKeyRead = 0x20019;
// Value reading and key deletion ask for write rights too.
inline constexpr std::uint32_t kReadWriteMask = 0x2003F;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// The types whose data is text: what the wide and the ANSI calls convert.
inline bool IsTextType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// The registry calls the program makes, with the platform's argument and
// status semantics. The A calls take names and paths as ANSI byte strings;
// the W calls as UTF-16, and give text data as stored (UTF-16LE bytes).
class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    virtual Status RegOpenKeyExA(KeyHandle key, const AnsiText& subKey, std::uint32_t options,
                                 std::uint32_t access, KeyHandle& opened) = 0;
    // Writes the name and its NUL at the start of name; nameSize counts characters.
    virtual Status RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) = 0;
    // dataSize: in, the buffer's length; out, the bytes delivered or, with 234, needed.
    virtual Status RegQueryValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t& type,
                                    std::uint8_t* data, std::uint32_t& dataSize) = 0;
    // nameLength: in, the buffer's size; out, the name's length without its NUL.
    virtual Status RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                                 std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) = 0;
    virtual Status RegCloseKey(KeyHandle key) = 0;
    virtual Status SHDeleteKeyA(KeyHandle key, const AnsiText& subKey) = 0;
    // Writes one value of a key opened with kKeySetValue: its type and bytes as given.
    virtual Status RegSetValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t type,
                                  const std::string& bytes) = 0;
    // Deletes one value of a key opened with kKeySetValue; 2 when it is not there.
    virtual Status RegDeleteValueA(KeyHandle key, const AnsiText& valueName) = 0;

    virtual Status RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options,
                                 std::uint32_t access, KeyHandle& opened) = 0;
    // nameLength: in, the buffer's size in characters with the NUL; out, the
    // name's length without it. 234 when the buffer is too small.
    virtual Status RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) = 0;
    // As RegEnumValueA, with the name in characters; data may be null to ask its size.
    virtual Status RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                                 std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) = 0;
};

}  // namespace tarvex

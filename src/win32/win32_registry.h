#pragma once

#include "registry/export_registry.h"
#include "registry/unicode_values.h"

namespace tarvex {

// The platform's own registry through the advapi32 and shlwapi ANSI calls,
// and the wide calls for names and text that must come whole.
class Win32Registry final : public ExportRegistry, public UnicodeValues {
public:
    Status RegOpenKeyExA(KeyHandle key, const AnsiText& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
    Status RegQueryValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t& type, std::uint8_t* data,
                            std::uint32_t& dataSize) override;
    Status RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override;
    Status RegCloseKey(KeyHandle key) override;
    Status SHDeleteKeyA(KeyHandle key, const AnsiText& subKey) override;
    Status RegSetValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t type,
                          const std::string& bytes) override;
    Status RegDeleteValueA(KeyHandle key, const AnsiText& valueName) override;
    Status RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override;
    Status RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override;
    AnsiFit SubkeyAnsiFit(KeyHandle key, std::uint32_t index) override;
    AnsiFit ValueAnsiFit(KeyHandle key, std::uint32_t index) override;
    Status QueryUnicodeText(KeyHandle key, const AnsiText& valueName, std::uint32_t& type, Utf8Text& text) override;
};

}  // namespace tarvex

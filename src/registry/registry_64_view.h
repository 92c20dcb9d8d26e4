#pragma once

#include "registry/export_registry.h"

namespace tarvex {

// Opens a key in the 64-bit registry, whatever the program's own bitness.
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;

// The registry through its 64-bit view, for keys Windows keeps there alone
// (the network list's): every open asks for it, and a deletion goes
// through its parent opened so. In a 64-bit program it changes nothing.
class Registry64View final : public ExportRegistry {
public:
    explicit Registry64View(ExportRegistry& registry) : registry_(registry) {}

    Status RegOpenKeyExA(KeyHandle key, const AnsiText& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) override {
        return registry_.RegEnumKeyA(key, index, name, nameSize);
    }
    Status RegQueryValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t& type, std::uint8_t* data,
                            std::uint32_t& dataSize) override {
        return registry_.RegQueryValueExA(key, valueName, type, data, dataSize);
    }
    Status RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override {
        return registry_.RegEnumValueA(key, index, name, nameLength, type, data, dataSize);
    }
    Status RegCloseKey(KeyHandle key) override { return registry_.RegCloseKey(key); }
    Status SHDeleteKeyA(KeyHandle key, const AnsiText& subKey) override;
    Status RegSetValueExA(KeyHandle key, const AnsiText& valueName, std::uint32_t type,
                          const std::string& bytes) override {
        return registry_.RegSetValueExA(key, valueName, type, bytes);
    }
    Status RegDeleteValueA(KeyHandle key, const AnsiText& valueName) override {
        return registry_.RegDeleteValueA(key, valueName);
    }
    Status RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override {
        return registry_.RegEnumKeyExW(key, index, name, nameLength);
    }
    Status RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override {
        return registry_.RegEnumValueW(key, index, name, nameLength, type, data, dataSize);
    }
    AnsiFit SubkeyAnsiFit(KeyHandle key, std::uint32_t index) override { return registry_.SubkeyAnsiFit(key, index); }
    AnsiFit ValueAnsiFit(KeyHandle key, std::uint32_t index) override { return registry_.ValueAnsiFit(key, index); }

private:
    ExportRegistry& registry_;
};

}  // namespace tarvex

#include "export/reg_lines.h"

#include "export/backup_error.h"
#include "export/mod_export.h"
#include "registry/root_keys.h"
#include "util/hex_byte.h"

#include <cstdio>

namespace tarvex {

namespace {

// The REGEDIT4 reader decodes exactly these two escapes.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    quoted.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string Dword(std::int32_t number) { return "dword:" + HexDword(std::to_string(number), 8); }

std::string ByteList(const std::vector<std::uint8_t>& bytes) {
    std::string list;
    list.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes) {
        if (!list.empty()) list += ',';
        AppendHexByte(list, byte, HexCase::Upper);
    }
    return list;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) { return "hex:" + ByteList(bytes); }

std::string TypedHex(std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    return prefix + ByteList(bytes);
}

// No REGEDIT4 form holds a line break or a NUL in a name: the line would
// come apart, or the name be cut short and restore as another.
void ReportLineBreakIn(const std::string& name) {
    if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) BackupError = true;
}

std::string NamePart(const std::string& name) {
    ReportLineBreakIn(name);
    return name.empty() ? "@" : Quoted(name);
}

std::string DataPart(const ValueEntry& entry) {
    switch (entry.kind) {
    case ValueKind::Text:
        return Quoted(entry.text);
    case ValueKind::Integer:
        return Dword(entry.number);
    case ValueKind::ByteArray:
        return Hex(entry.bytes);
    case ValueKind::TypedBytes:
        break;
    }
    return TypedHex(entry.registryType, entry.bytes);
}

}  // namespace

std::string RootPrefix(RootKey root) {
    for (const RootKeyNames& names : kRootKeys) {
        if (names.root == root) return names.prefix;
    }
    return "";
}

std::string KeyLine(const std::string& rootPrefix, const std::string& keyPath) {
    ReportLineBreakIn(keyPath);
    return "[" + rootPrefix + keyPath + "]" + kLineEnd;
}

std::string ValueLine(const ValueEntry& entry) { return NamePart(entry.name) + "=" + DataPart(entry) + kLineEnd; }

std::string DeletedValueLine(const std::string& name) { return NamePart(name) + "=-" + kLineEnd; }

}  // namespace tarvex

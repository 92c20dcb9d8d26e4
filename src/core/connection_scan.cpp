#include "core/connection_scan.h"

#include "core/adapter_states.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

namespace {

// Class and connection keys are known only by their first character.
bool NamesBraceKey(const AnsiText& name) { return !name.empty() && name.front() == '{'; }

std::vector<AnsiText> ListSubkeyNames(RegistryApi& registry, const AnsiText& path) {
    AnsiText list;
    ListSubkeys(registry, "HKLM", path, list);  // a key that cannot be listed leaves the text empty
    return SplitSubkeyList(list);
}

// Only text names an adapter; an empty one names none.
std::optional<AnsiText> ReadInstanceId(RegistryApi& registry, KeyHandle connection) {
    AnsiText id;
    std::uint32_t type;
    if (!ReadOpenKeyValue(registry, connection, "PnpInstanceID", id, type) || type != kRegSz || id.empty()) {
        return std::nullopt;
    }
    return id;
}

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// Whole names come through the wide call; a Name that holds no text reads
// as the ANSI calls show it, which is ASCII.
bool ReadName(RegistryApi& registry, UnicodeValues* unicode, KeyHandle connection, ConnectionRow& row) {
    std::uint32_t type = kRegNone;
    if (unicode == nullptr) return ReadOpenKeyValue(registry, connection, "Name", row.name, type);
    if (unicode->QueryUnicodeText(connection, "Name", type, row.unicodeName) != kSuccess) return false;
    if (IsText(type)) return true;
    return ReadOpenKeyValue(registry, connection, "Name", row.unicodeName, type);
}

}  // namespace

std::vector<AnsiText> SplitSubkeyList(const AnsiText& list) {
    std::vector<AnsiText> pieces;
    if (list.empty()) return pieces;
    AnsiText::size_type start = 0;
    for (;;) {
        auto end = list.find('\0', start);
        if (end == AnsiText::npos) {
            pieces.push_back(list.substr(start));
            return pieces;
        }
        pieces.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

ConnectionScan ScanConnectionRows(RegistryApi& registry, const ScanReads& reads) {
    ConnectionScan scan;
    for (const char* networkPath : kNetworkPaths) ScanNetworkKey(registry, scan.rows, networkPath, reads);
    if (reads.devices != nullptr) scan.deviceError = SetAdapterStates(*reads.devices, scan.rows);
    return scan;
}

void ScanNetworkKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& networkPath,
                    const ScanReads& reads) {
    for (const AnsiText& name : ListSubkeyNames(registry, networkPath)) {
        if (NamesBraceKey(name)) ScanClassKey(registry, rows, networkPath + "\\" + name, reads);
    }
}

void ScanClassKey(RegistryApi& registry, std::vector<ConnectionRow>& rows, const AnsiText& classPath,
                  const ScanReads& reads) {
    for (const AnsiText& name : ListSubkeyNames(registry, classPath)) {
        if (!NamesBraceKey(name)) continue;
        ConnectionRow row{classPath + "\\" + name};
        // One open serves the name and the instance ID, with the rights ReadValue asks for.
        UniqueKey connection(registry);
        if (connection.Open(kLocalMachine, row.key + "\\Connection", kReadWriteMask) != kSuccess) continue;
        if (!ReadName(registry, reads.unicodeNames, connection.get(), row)) continue;
        if (reads.devices != nullptr) row.pnpInstanceId = ReadInstanceId(registry, connection.get());
        rows.push_back(std::move(row));
    }
}

}  // namespace tarvex

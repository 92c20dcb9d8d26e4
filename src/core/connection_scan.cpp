#include "core/connection_scan.h"

#include "core/adapter_states.h"
#include "core/ipv4_settings.h"
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

// The Name as Windows stores it; one that holds no text reads as the ANSI
// calls show it, which is ASCII.
bool ReadWholeName(const Services& services, KeyHandle connection, Utf8Text& name) {
    std::uint32_t type = kRegNone;
    if (services.unicode.QueryUnicodeText(connection, "Name", type, name) != kSuccess) return false;
    return IsTextType(type) || ReadOpenKeyValue(services.registry, connection, "Name", name, type);
}

class Scan {
public:
    Scan(const Services& services, RowReads reads) : services_(services), reads_(reads) {}

    void NetworkKey(const AnsiText& networkPath) {
        // One open of the control set's interfaces serves its rows; without
        // it no row there has IPv4 settings to look for.
        if (reads_ == RowReads::Columns || reads_ == RowReads::Everything) {
            interfaces_.Open(kLocalMachine, Ipv4InterfacesKey(ControlSetName(networkPath)), kKeyRead);
        }
        for (const AnsiText& name : ListSubkeyNames(services_.registry, networkPath)) {
            if (NamesBraceKey(name)) ClassKey(networkPath + "\\" + name);
        }
        interfaces_.Close();
    }

    std::vector<ConnectionRow> rows;

private:
    void ClassKey(const AnsiText& classPath) {
        RegistryApi& registry = services_.registry;
        for (const AnsiText& name : ListSubkeyNames(registry, classPath)) {
            if (!NamesBraceKey(name)) continue;
            ConnectionRow row{classPath + "\\" + name};
            // One open serves the name and the instance ID, with the rights ReadValue asks for.
            UniqueKey connection(registry);
            if (connection.Open(kLocalMachine, row.key + "\\Connection", kReadWriteMask) != kSuccess) continue;
            // The console reads the name whole instead, at the same cost.
            std::uint32_t type;
            if (reads_ == RowReads::Everything ? !ReadWholeName(services_, connection.get(), row.texts.connection)
                                               : !ReadOpenKeyValue(registry, connection.get(), "Name", row.name, type)) {
                continue;
            }
            if (reads_ != RowReads::NamesOnly) row.pnpInstanceId = ReadInstanceId(registry, connection.get());
            if (interfaces_.isOpen()) {
                row.ipv4 = ReadIpv4Settings(registry, interfaces_.get(), ConnectionGuid(row.key),
                                            reads_ == RowReads::Everything ? Ipv4Reads::Whole : Ipv4Reads::Shown);
            }
            if (reads_ == RowReads::Everything) MakeTexts(row);
            rows.push_back(std::move(row));
        }
    }

    void MakeTexts(ConnectionRow& row) const {
        const AnsiCodec& codec = services_.codec;
        row.texts.key = codec.ToUtf8(row.key);
        row.texts.controlSet = codec.ToUtf8(ControlSetName(row.key));
        if (row.pnpInstanceId) row.texts.pnpInstanceId = codec.ToUtf8(*row.pnpInstanceId);
    }

    const Services& services_;
    RowReads reads_;
    UniqueKey interfaces_{services_.registry};
};

}  // namespace

std::optional<AnsiText> ReadTextValue(RegistryApi& registry, KeyHandle key, const AnsiText& name) {
    AnsiText text;
    std::uint32_t type;
    if (!ReadOpenKeyValue(registry, key, name, text, type) || type != kRegSz) return std::nullopt;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (text.empty()) return std::nullopt;
    return text;
}

// Only text names an adapter; an empty one names none.
std::optional<AnsiText> ReadInstanceId(RegistryApi& registry, KeyHandle connection) {
    return ReadTextValue(registry, connection, "PnpInstanceID");
}

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

ConnectionScan ScanConnectionRows(const Services& services, RowReads reads) {
    Scan scan(services, reads);
    for (const char* networkPath : kNetworkPaths) scan.NetworkKey(networkPath);
    ConnectionScan result{std::move(scan.rows)};
    if (reads != RowReads::NamesOnly) result.deviceError = SetAdapterStates(services.devices, services.cases, result.rows);
    return result;
}

}  // namespace tarvex

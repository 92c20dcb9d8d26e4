#include "app/connection_scan.h"

#include "registry/mod_reg.h"

namespace tarvex {

namespace {

// Class and connection keys are known only by their first character.
bool NamesBraceKey(const std::string& name) { return !name.empty() && name.front() == '{'; }

std::vector<std::string> ListSubkeyNames(RegistryApi& registry, const std::string& path) {
    std::string list;
    ListSubkeys(registry, "HKLM", path, list);  // a key that cannot be listed leaves the text empty
    return SplitSubkeyList(list);
}

}  // namespace

std::vector<std::string> SplitSubkeyList(const std::string& list) {
    std::vector<std::string> pieces;
    if (list.empty()) return pieces;
    std::string::size_type start = 0;
    for (;;) {
        auto end = list.find('\0', start);
        if (end == std::string::npos) {
            pieces.push_back(list.substr(start));
            return pieces;
        }
        pieces.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

void ScanConnections(RegistryApi& registry, ConnectionList& list) {
    SuspendedDrawing quiet(list);
    list.RemoveAllRows();
    for (const char* networkPath : kNetworkPaths) ScanNetworkKey(registry, list, networkPath);
    quiet.End();
}

void ScanNetworkKey(RegistryApi& registry, ConnectionList& list, const std::string& networkPath) {
    for (const std::string& name : ListSubkeyNames(registry, networkPath)) {
        if (NamesBraceKey(name)) ScanClassKey(registry, list, networkPath + "\\" + name);
    }
}

void ScanClassKey(RegistryApi& registry, ConnectionList& list, const std::string& classPath) {
    for (const std::string& name : ListSubkeyNames(registry, classPath)) {
        if (!NamesBraceKey(name)) continue;
        std::string connectionPath = classPath + "\\" + name;
        std::string connectionName;
        if (ReadValue(registry, kLocalMachine, connectionPath + "\\Connection", "Name", connectionName)) {
            list.AppendRow(connectionPath, connectionName);
        }
    }
}

}  // namespace tarvex

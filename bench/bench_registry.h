#pragma once

#include "core/connection_scan.h"
#include "support/registry_writer.h"
#include "support/seed_connection.h"
#include "window/connection_list.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvex {

// A list that keeps nothing: a scan into it costs only the registry calls.
class NullList : public ConnectionList {
public:
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void RemoveAllRows() override { rows = 0; }
    void AppendRow(const ConnectionRow&) override { ++rows; }
    int RowCount() const override { return rows; }
    std::string RowText(int) const override { return {}; }
    std::string RowSubItem(int) const override { return {}; }
    bool IsChecked(int) const override { return false; }
    void SetChecked(int, bool) override {}
    bool IsSelected(int) const override { return false; }
    void SetSorted(bool) override {}
    void SetSortColumn(int) override {}
    SortDirection GetSortDirection() const override { return SortDirection::Ascending; }
    void SetSortDirection(SortDirection) override {}
    void Redraw() override {}
    int rows = 0;
};

// Every row ticked, as after selecting all and a right-button release.
class TickedList final : public NullList {
public:
    void RemoveAllRows() override { texts.clear(); }
    void AppendRow(const ConnectionRow& row) override { texts.push_back(row.key); }
    int RowCount() const override { return static_cast<int>(texts.size()); }
    std::string RowText(int row) const override { return texts[static_cast<std::size_t>(row)]; }
    bool IsChecked(int) const override { return true; }
    std::vector<std::string> texts;
};

// The instance ID of the adapter a seeded connection names.
inline std::string SeededInstanceId(int i) { return "PCI\\VEN_8086&DEV_100E\\BENCH" + std::to_string(i); }

// perPath connection keys under one class key of each Network path, each
// naming its adapter.
inline void SeedConnections(RegistryWriter& writer, int perPath) {
    for (const char* networkPath : kNetworkPaths) {
        for (int i = 0; i < perPath; ++i) {
            char guid[64];
            std::snprintf(guid, sizeof guid, "{%08X-1B2C-4D3E-8F40-5162738495A6}", i);
            std::string path = std::string(networkPath) + "\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + guid +
                               "\\Connection";
            writer.CreateKey(kLocalMachine, path);
            writer.SetValue(kLocalMachine, path, "Name", kRegSz, "Local Area Connection " + std::to_string(i) + '\0');
            writer.SetValue(kLocalMachine, path, "PnpInstanceID", kRegSz, SeededInstanceId(i) + '\0');
        }
    }
}

// The IP settings of every other seeded connection, under its GUID in lower
// case in its own control set: half the rows have them, as after a move to
// another host where the ghosts kept their static configuration.
inline void SeedIpSettingsOfHalf(RegistryWriter& writer, int perPath) {
    for (const char* networkPath : kNetworkPaths) {
        const std::string controlSet = GetField(networkPath, "\\", 2);
        for (int i = 0; i < perPath; i += 2) {
            char guid[64];
            std::snprintf(guid, sizeof guid, "{%08x-1b2c-4d3e-8f40-5162738495a6}", i);
            SeedIpSettings(writer, controlSet, guid, "10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256));
        }
    }
}

// keys keys below base in groups of 100, five values of the usual types each.
inline void SeedExportTree(RegistryWriter& writer, RootKey root, const std::string& base, int keys) {
    using namespace std::string_literals;
    for (int i = 0; i < keys; ++i) {
        char path[96];
        std::snprintf(path, sizeof path, "\\{%04X}\\{%08X-1B2C-4D3E-8F40-5162738495A6}", i / 100, i);
        std::string key = base + path;
        writer.SetValue(root, key, "Name", kRegSz, "Local Area Connection " + std::to_string(i) + '\0');
        writer.SetValue(root, key, "Characteristics", kRegDword, "\x84\0\0\0"s);
        writer.SetValue(root, key, "Config", kRegBinary, std::string(16, '\x5A'));
        writer.SetValue(root, key, "Path", kRegExpandSz, "%SystemRoot%\\System32\0"s);
        writer.SetValue(root, key, "Bindings", kRegMultiSz, "tcpip\0netbt\0\0"s);
    }
}

}  // namespace tarvex

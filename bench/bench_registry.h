#pragma once

#include "app/connection_list.h"
#include "app/connection_scan.h"
#include "registry/registry_writer.h"

#include <cstdio>
#include <string>

namespace tarvex {

// A list that keeps nothing: a scan into it costs only the registry calls.
class NullList : public ConnectionList {
public:
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void RemoveAllRows() override { rows = 0; }
    void AppendRow(const std::string&, const std::string&) override { ++rows; }
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

// perPath connection keys under one class key of each Network path.
inline void SeedConnections(RegistryWriter& writer, int perPath) {
    for (const char* networkPath : kNetworkPaths) {
        for (int i = 0; i < perPath; ++i) {
            char guid[64];
            std::snprintf(guid, sizeof guid, "{%08X-1B2C-4D3E-8F40-5162738495A6}", i);
            std::string path = std::string(networkPath) + "\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + guid +
                               "\\Connection";
            writer.CreateKey(kLocalMachine, path);
            writer.SetValue(kLocalMachine, path, "Name", kRegSz, "Local Area Connection " + std::to_string(i) + '\0');
        }
    }
}

}  // namespace tarvex

#include "window/table_copy.h"

namespace tarvex {

std::string ConnectionTable(const ConnectionList& list) {
    std::string table;
    const int rowCount = list.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (row > 0) table += "\r\n";
        table += ControlSetName(list.RowText(row));
        table += '\t';
        table += list.RowSubItem(row);
    }
    return table;
}

void CopyTable(const ConnectionList& list, Clipboard& clipboard) {
    if (list.RowCount() <= 0) return;
    clipboard.SetText(ConnectionTable(list));
}

}  // namespace tarvex

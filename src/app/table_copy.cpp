#include "app/table_copy.h"

namespace tarvex {

std::string GetField(const std::string& text, const std::string& delimiter, int n) {
    if (n < 1) return "";
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        std::size_t found = text.find(delimiter, start);
        if (found == std::string::npos) return "";
        start = found + delimiter.size();
    }
    std::size_t end = text.find(delimiter, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string ConnectionTable(const ConnectionList& list) {
    std::string table;
    const int rowCount = list.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (row > 0) table += "\r\n";
        table += GetField(list.RowText(row), "\\", 2);
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

#pragma once

#include "core/connection_row.h"
#include "util/encoded_text.h"
#include "window/clipboard.h"
#include "window/connection_list.h"

#include <string>

namespace tarvex {

// One line per row: the control set's name, a tab, the connection's name;
// CR LF between lines, none after the last.
AnsiText ConnectionTable(const ConnectionList& list);

// Puts the table on the clipboard; an empty list leaves the clipboard alone.
void CopyTable(const ConnectionList& list, Clipboard& clipboard);

}  // namespace tarvex

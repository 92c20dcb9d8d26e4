#pragma once

#include "app/clipboard.h"
#include "app/connection_list.h"
#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The n-th piece of text between delimiters, counting from 1; empty pieces
// count. The empty text for an n outside 1 to the number of pieces.
AnsiText GetField(const AnsiText& text, const AnsiText& delimiter, int n);

// One line per row: the control set's name, a tab, the connection's name;
// CR LF between lines, none after the last.
AnsiText ConnectionTable(const ConnectionList& list);

// Puts the table on the clipboard; an empty list leaves the clipboard alone.
void CopyTable(const ConnectionList& list, Clipboard& clipboard);

}  // namespace tarvex

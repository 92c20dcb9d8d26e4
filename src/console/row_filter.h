#pragma once

#include "console/console_arguments.h"
#include "console/listed_row.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// Whether text matches a wildcard pattern: * any run of characters, ? one
// character; letters match without regard to case.
bool MatchesWildcard(const Utf8Text& pattern, const Utf8Text& text);

// Whether two texts are the same but for the case of letters.
bool SameText(const Utf8Text& a, const Utf8Text& b);

// The rows that pass both parts of the filter, in their order.
std::vector<ListedRow> FilterRows(const std::vector<ListedRow>& rows, const RowFilter& filter);

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarvex {

// The line without the "tarvex: " most messages begin with: the summary
// line holds its messages so, as one report.
Utf8Text WithoutProgramName(const Utf8Text& line);

// Intune keeps at most 2,048 characters of a script's output.
inline constexpr std::size_t kLongestSummaryLine = 2048;

// The one line --format summary prints for a fleet tool that keeps little:
// its parts in the order added, joined by "; ", in ASCII (other characters
// as \uXXXX, as the JSON writes them), CR LF at its end, and never longer
// than kLongestSummaryLine with it. A list gives as many of its items as
// fit, then "and N more".
class SummaryLine {
public:
    void Add(const Utf8Text& part);
    // "label: a, b and 3 more"; nothing for an empty list. Items are joined by separator.
    void AddList(const Utf8Text& label, const std::vector<Utf8Text>& items, const char* separator = ", ");
    // "3 stale entries: a, b, c"; the count alone when there are no names,
    // so that a line is never empty.
    void AddCount(const Utf8Text& count, const std::vector<Utf8Text>& names);
    std::string Text() const;

private:
    struct Part {
        std::string label;  // the whole part, when it is no list
        std::vector<std::string> items;
        std::string separator;
        bool list = false;
    };
    std::vector<Part> parts_;
};

}  // namespace tarvex

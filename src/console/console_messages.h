#pragma once

#include "console/console_output.h"
#include "core/summary_line.h"
#include "util/encoded_text.h"

#include <vector>

namespace tarvex {

// Every line ending in CR LF, as Windows programs end theirs: a lone LF
// gets its CR.
Utf8Text WithCrLf(const Utf8Text& text);

// Where the console's messages go: each a line on the error stream, or,
// for --format summary, held for the summary line, which is all a fleet
// tool keeps and where nothing on the error stream may count as a failure.
class ConsoleMessages {
public:
    explicit ConsoleMessages(ConsoleOutput& output) : output_(output) {}

    void HoldForSummary() { holding_ = true; }
    // One line, without its line end, kept for the summary line too.
    void Say(const Utf8Text& line);
    // One line the summary line holds in its own words: on the error stream alone.
    void Tell(const Utf8Text& line);
    // Every line said, without the "tarvex: " before most of them.
    const std::vector<Utf8Text>& held() const { return held_; }

private:
    ConsoleOutput& output_;
    bool holding_ = false;
    std::vector<Utf8Text> held_;
};

}  // namespace tarvex

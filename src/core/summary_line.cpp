#include "core/summary_line.h"

#include "util/ascii_text.h"

namespace tarvex {

namespace {

constexpr char kPartSeparator[] = "; ";
constexpr char kLineEnd[] = "\r\n";

// Line breaks and tabs inside a part would cut the line or its fields.
std::string OnOneLine(const Utf8Text& text) { return AsciiText(TsvField(text)); }

constexpr char kProgramPrefix[] = "tarvex: ";

std::string More(std::size_t left) { return " and " + std::to_string(left) + " more"; }

}  // namespace

Utf8Text WithoutProgramName(const Utf8Text& line) {
    return line.rfind(kProgramPrefix, 0) == 0 ? line.substr(sizeof kProgramPrefix - 1) : line;
}

void SummaryLine::Add(const Utf8Text& part) {
    if (!part.empty()) parts_.push_back({OnOneLine(part), {}, {}, false});
}

void SummaryLine::AddList(const Utf8Text& label, const std::vector<Utf8Text>& items, const char* separator) {
    if (items.empty()) return;
    Part part{OnOneLine(label), {}, separator, true};
    for (const Utf8Text& item : items) part.items.push_back(OnOneLine(item));
    parts_.push_back(std::move(part));
}

void SummaryLine::AddCount(const Utf8Text& count, const std::vector<Utf8Text>& names) {
    if (names.empty()) return Add(count);
    AddList(count, names);
}

std::string SummaryLine::Text() const {
    // What every part needs whatever is cut: its label, the separators, and
    // room to count what a list leaves out.
    std::size_t fixed = 0;
    for (const Part& part : parts_) {
        fixed += (fixed == 0 ? 0 : sizeof kPartSeparator - 1) + part.label.size();
        if (part.list) fixed += (part.label.empty() ? 0 : 2) + More(part.items.size()).size();
    }
    const std::size_t room = kLongestSummaryLine - (sizeof kLineEnd - 1);
    std::size_t left = fixed < room ? room - fixed : 0;
    std::string line;
    for (const Part& part : parts_) {
        if (!line.empty()) line += kPartSeparator;
        line += part.label;
        if (!part.list) continue;
        if (!part.label.empty()) line += ": ";
        const std::size_t suffix = More(part.items.size()).size();
        left += suffix;
        std::size_t shown = 0;
        for (const std::string& item : part.items) {
            const std::size_t cost = (shown == 0 ? 0 : part.separator.size()) + item.size();
            const bool last = shown + 1 == part.items.size();
            if (cost + (last ? 0 : suffix) > left) break;
            line += (shown == 0 ? "" : part.separator) + item;
            left -= cost;
            ++shown;
        }
        if (shown < part.items.size()) {
            const std::size_t hidden = part.items.size() - shown;
            const std::string more = shown == 0 ? std::to_string(hidden) + " not shown" : More(hidden);
            line += more;
            left -= std::min(left, more.size());
        }
    }
    // Only parts longer than the line itself come this far.
    if (line.size() > room) line = line.substr(0, room - 3) + "...";
    return line + kLineEnd;
}

}  // namespace tarvex

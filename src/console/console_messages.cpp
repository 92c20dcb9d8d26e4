#include "console/console_messages.h"

namespace tarvex {

namespace {

constexpr char kProgramPrefix[] = "tarvex: ";

}  // namespace

Utf8Text WithCrLf(const Utf8Text& text) {
    Utf8Text crlf;
    crlf.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
        crlf += text[i];
    }
    return crlf;
}

Utf8Text WithoutProgramName(const Utf8Text& line) {
    return line.rfind(kProgramPrefix, 0) == 0 ? line.substr(sizeof kProgramPrefix - 1) : line;
}

void ConsoleMessages::Say(const Utf8Text& line) {
    if (!holding_) return output_.Err(line + "\r\n");
    held_.push_back(WithoutProgramName(line));
}

}  // namespace tarvex

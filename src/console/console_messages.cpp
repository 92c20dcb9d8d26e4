#include "console/console_messages.h"

namespace tarvex {

Utf8Text WithCrLf(const Utf8Text& text) {
    Utf8Text crlf;
    crlf.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
        crlf += text[i];
    }
    return crlf;
}

void ConsoleMessages::Say(const Utf8Text& line) {
    Tell(line);
    held_.push_back(WithoutProgramName(line));
}

void ConsoleMessages::Tell(const Utf8Text& line) {
    if (!holding_) output_.Err(line + "\r\n");
}

}  // namespace tarvex

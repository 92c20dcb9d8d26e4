#pragma once

#include "util/encoded_text.h"
#include "window/message_boxes.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace tarvex {

// A failure with the platform's error number, raised where an event
// operation cannot go on (a list control refusing a row, say).
class AppError : public std::runtime_error {
public:
    AppError(long number, const Utf8Text& text) : std::runtime_error(text), number_(number) {}
    long number() const { return number_; }

private:
    long number_;
};

inline constexpr int kUntrappedErrorExitCode = 1;

// Ends the program; tests put a recorder in its place.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void Exit(int code) = 0;
};

Utf8Text UntrappedErrorText(long number, const Utf8Text& text);

// Runs one event's operation. A failure escaping it is shown in one box
// with its number and text, and then the program ends with a non-zero code.
void RunEventOperation(const std::function<void()>& operation, MessageBoxes& messages, ProgramExit& exit);

}  // namespace tarvex

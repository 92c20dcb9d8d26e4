#pragma once

#include "util/app_error.h"
#include "util/encoded_text.h"
#include "window/message_boxes.h"
#include "window/program_exit.h"

#include <functional>
#include <string>

namespace tarvex {

Utf8Text UntrappedErrorText(long number, const Utf8Text& text);

// Runs one event's operation. A failure escaping it is shown in one box
// with its number and text, and then the program ends with a non-zero code.
void RunEventOperation(const std::function<void()>& operation, MessageBoxes& messages, ProgramExit& exit);

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

inline constexpr const char* kProgramTitle = "Tarvex Manager";

enum class MessageIcon { None, Critical, Warning, Information };
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class MessageAnswer { Ok, Yes, No };

// Modal message boxes, always titled with the program's title. For YesNo
// the first button is the default, for YesNoDefaultNo the second.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const Utf8Text& text, MessageIcon icon, MessageButtons buttons) = 0;
};

}  // namespace tarvex

#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The full path of this program's executable file, however long.
std::wstring ExecutablePath();

// The folder of this program's executable file, as the system
// reports it: no trailing backslash except for a drive's root folder.
Utf8Text ExecutableFolder();

}  // namespace tarvex

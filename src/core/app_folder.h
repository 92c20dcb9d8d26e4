#pragma once

#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The program's folder with exactly one trailing backslash, so a backup
// file's path is the folder followed by the file name.
Utf8Text MakeAppFolder(const Utf8Text& executableFolder);

}  // namespace tarvex

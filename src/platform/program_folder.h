#pragma once

#include <string>

namespace tarvex {

// The folder of this program's executable file in UTF-8, as the system
// reports it: no trailing backslash except for a drive's root folder.
std::string ExecutableFolder();

}  // namespace tarvex

#pragma once

#include <string>

namespace tarvex {

// The program's folder with exactly one trailing backslash, so a backup
// file's path is the folder followed by the file name.
std::string MakeAppFolder(const std::string& executableFolder);

}  // namespace tarvex

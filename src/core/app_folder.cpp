#include "core/app_folder.h"

namespace tarvex {

std::string MakeAppFolder(const std::string& executableFolder) {
    if (!executableFolder.empty() && executableFolder.back() == '\\') return executableFolder;
    return executableFolder + '\\';
}

}  // namespace tarvex

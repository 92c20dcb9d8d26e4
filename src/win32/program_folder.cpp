#include "win32/program_folder.h"

#include "win32/wide_text.h"

#include <windows.h>

namespace tarvex {

std::wstring ExecutablePath() {
    // Long paths exceed MAX_PATH; grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ExecutableFolder() {
    const std::wstring path = ExecutablePath();
    auto slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return {};
    // "C:\program.exe" keeps its backslash: the root folder is "C:\".
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return WideToUtf8(folder);
}

}  // namespace tarvex
